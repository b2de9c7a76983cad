#!/usr/bin/env python3
# A route's length computed over the raw OpenStreetMap extract, apart from the
# program: its own reading of the highway tags, projection, snapping and
# Dijkstra. For checking townroute on a folder osm2town made of the same
# extract (centred on the middle of its bounds):
#   python3 scripts/route-check.py EXTRACT.osm.gz "улица, номер" "улица, номер" foot|car
#   build/bin/townroute FOLDER "улица, номер" "улица, номер" [--car]
import gzip, heapq, math, sys
import xml.etree.ElementTree as ET

path, frm, to, mode = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4]
R = 6371008.8
nodes, ways = {}, []
bounds = None
for ev, el in ET.iterparse(gzip.open(path)):
    if el.tag == 'bounds':
        bounds = {k: float(v) for k, v in el.attrib.items()}
    elif el.tag == 'node':
        nodes[int(el.get('id'))] = (float(el.get('lat')), float(el.get('lon')))
        el.clear()
    elif el.tag == 'way':
        tags = {t.get('k'): t.get('v') for t in el.findall('tag')}
        refs = [int(n.get('ref')) for n in el.findall('nd')]
        ways.append((refs, tags))
        el.clear()
lat0 = (bounds['minlat'] + bounds['maxlat']) / 2
lon0 = (bounds['minlon'] + bounds['maxlon']) / 2
def proj(ll):
    lat, lon = ll
    return ((lon - lon0) * math.pi / 180 * R * math.cos(lat0 * math.pi / 180), (lat - lat0) * math.pi / 180 * R)

# highway value: (foot by default, car by default, speed km/h)
CLASSES = {'motorway': (0, 1, 90), 'motorway_link': (0, 1, 90), 'trunk': (1, 1, 70), 'trunk_link': (1, 1, 70),
           'primary': (1, 1, 60), 'primary_link': (1, 1, 60), 'secondary': (1, 1, 50), 'secondary_link': (1, 1, 50),
           'tertiary': (1, 1, 40), 'tertiary_link': (1, 1, 40), 'unclassified': (1, 1, 30), 'road': (1, 1, 30),
           'residential': (1, 1, 30), 'living_street': (1, 1, 10), 'service': (1, 1, 15), 'track': (1, 1, 15),
           'pedestrian': (1, 0, 5), 'footway': (1, 0, 5), 'corridor': (1, 0, 5), 'path': (1, 0, 5),
           'bridleway': (1, 0, 5), 'cycleway': (1, 0, 5), 'steps': (1, 0, 5)}
YES = {'yes', 'public', 'designated', 'permissive', 'destination', 'customers', 'delivery', 'official', 'use_sidepath'}
NO = {'no', 'private', 'agricultural', 'forestry', 'military', 'emergency', 'permit', 'discouraged'}
def may(tags, keys, default):
    v = default
    for k in keys:
        if tags.get(k) in YES: v = True
        elif tags.get(k) in NO: v = False
    return v

edges = {}  # node -> list of (node, metres, seconds)
segs = []   # (a, b, pa, pb, forward ok, backward ok, speed)
car = mode == 'car'
for refs, tags in ways:
    hw = tags.get('highway')
    if hw not in CLASSES: continue
    foot_d, car_d, speed = CLASSES[hw]
    f = may(tags, ['access', 'foot'], bool(foot_d))
    c = may(tags, ['access', 'vehicle', 'motor_vehicle', 'motorcar'], bool(car_d))
    ow = tags.get('oneway'); rev = False
    one = hw == 'motorway' or tags.get('junction') in ('roundabout', 'circular')
    if ow in ('yes', 'true', '1'): one = True
    elif ow in ('-1', 'reverse'): one, rev = True, True
    elif ow in ('no', 'false', '0'): one = False
    elif ow in ('reversible', 'alternating'): c = False
    if not (c if car else f): continue
    if rev: refs = refs[::-1]
    for a, b in zip(refs, refs[1:]):
        if a not in nodes or b not in nodes or a == b: continue
        pa, pb = proj(nodes[a]), proj(nodes[b])
        L = math.dist(pa, pb)
        fw, bw = True, not (car and one)
        cost = L / (speed / 3.6) if car else L
        if fw: edges.setdefault(a, []).append((b, cost, L))
        if bw: edges.setdefault(b, []).append((a, cost, L))
        segs.append((a, b, pa, pb, fw, bw, cost, L))

def house(text):
    street, number = [s.strip() for s in text.split(',')]
    for refs, tags in ways:
        if tags.get('addr:street') == street and tags.get('addr:housenumber') == number and 'building' in tags:
            pts = [proj(nodes[r]) for r in refs if r in nodes]
            xs = [p[0] for p in pts]; ys = [p[1] for p in pts]
            return ((min(xs) + max(xs)) / 2, (min(ys) + max(ys)) / 2)
    raise SystemExit('no house ' + text)

def snap(p):
    best = None
    for s in segs:
        (ax, ay), (bx, by) = s[2], s[3]
        dx, dy = bx - ax, by - ay
        l2 = dx * dx + dy * dy
        t = 0 if l2 == 0 else max(0, min(1, ((p[0] - ax) * dx + (p[1] - ay) * dy) / l2))
        d = math.dist(p, (ax + t * dx, ay + t * dy))
        if best is None or d < best[0]: best = (d, s, t)
    return best

P, Q = house(frm), house(to)
_, s0, t0 = snap(P)
_, s1, t1 = snap(Q)
# Dijkstra from the virtual start 'S' to the virtual end 'E'.
graph = {k: list(v) for k, v in edges.items()}
a, b, _, _, fw, bw, cost, L = s0
graph['S'] = ([(b, (1 - t0) * cost, (1 - t0) * L)] if fw else []) + ([(a, t0 * cost, t0 * L)] if bw else [])
c, d, _, _, fw1, bw1, cost1, L1 = s1
if fw1: graph.setdefault(c, []).append(('E', t1 * cost1, t1 * L1))
if bw1: graph.setdefault(d, []).append(('E', (1 - t1) * cost1, (1 - t1) * L1))
if s0 is s1 and ((t1 >= t0 and fw) or (t1 <= t0 and bw)):
    graph['S'].append(('E', abs(t1 - t0) * cost, abs(t1 - t0) * L))
import itertools; tick = itertools.count(); dist = {"S": (0, 0)}; heap = [(0, 0, 0, "S")]; done = set()
while heap:
    g, m, _, n = heapq.heappop(heap)
    if n in done: continue
    done.add(n)
    if n == 'E': break
    for nb, cst, l in graph.get(n, []):
        if nb not in dist or g + cst < dist[nb][0]:
            dist[nb] = (g + cst, m + l); heapq.heappush(heap, (g + cst, m + l, next(tick), nb))
print('from %.2f,%.2f to %.2f,%.2f (map units)' % (P[0] * 0.0811, P[1] * 0.0811, Q[0] * 0.0811, Q[1] * 0.0811))
print('metres %.1f' % dist['E'][1] if 'E' in dist else 'no route')
