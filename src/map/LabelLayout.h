#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Where the map's street names and house numbers go in one view, without
// OpenGL: street centre lines and roof centres in, text rectangles out (in
// the world, to be drawn with the scene's own matrices, and on the screen).
// Street names lie along their street on the ground where the street crosses
// the view, and stand upright facing the camera where it runs away from it;
// they always read left to right, never overlap each other, the reserved
// parts of the view or what was placed before them, fade in between two
// pixel heights and are left out below the first.
namespace labels {

struct P2 {
    float x = 0, y = 0;
};
struct P3 {
    float x = 0, y = 0, z = 0;
};

// A street's centre line in map units; the name is Windows-1251 bytes. One
// point stands for a street whose course is unknown (one house).
struct StreetLine {
    std::string name;
    std::vector<P2> points;
};

// A house's number (Windows-1251) and the middle of its roof.
struct HouseMark {
    std::string number;
    P3 roof;
};

enum class LabelKind { Street, Number };
enum class LabelPose { Ground, Upright };

// A rectangle in window pixels, origin bottom left, y up.
struct ScreenRect {
    float left = 0, bottom = 0, right = 0, top = 0;
    bool Meets(const ScreenRect& other) const
    {
        return left < other.right && other.left < right && bottom < other.top && other.bottom < top;
    }
};

struct PlacedLabel {
    LabelKind kind = LabelKind::Street;
    int text = 0; // index of the street line or the house mark
    LabelPose pose = LabelPose::Upright;
    // The text's bottom-left, bottom-right, top-right and top-left corners.
    std::array<P3, 4> world;
    std::array<P2, 4> screen; // window pixels, origin bottom left
    ScreenRect bounds;        // of `screen`
    float alpha = 1;          // fades in above the smallest readable height
    float pixels = 0;         // the text's height as drawn
};

// One view of the map.
struct LabelView {
    std::array<float, 16> worldToClip{}; // projection x model-view, OpenGL order (column by column)
    int width = 0, height = 0;           // viewport, pixels
    float focalPixels = 0;               // pixels per unit of height at distance 1
    float scale = 1;                     // render resolution / 96: sizes in pixels grow with it
    P3 eye, right, up;                   // camera position and its unit axes in the world
    std::vector<ScreenRect> reserved;    // where no label may go
    bool streets = true, numbers = true;

    // A perspective camera at `eye` looking at `target`, the world's Z up,
    // with the vertical field of view in degrees (tests and benchmarks).
    static LabelView LookAt(P3 eye, P3 target, float fovYDegrees, int width, int height);
};

struct LabelStyle {
    float streetHeight = 3.4f;  // a street name's picture in map units (about 42 m), before the limit below
    float minPixels = 11;       // below: not drawn (pixels of the picture's height)
    float fullPixels = 14;      // from here on: opaque
    float maxStreetPixels = 20; // no bigger however close
    float numberHeight = 0.8f;  // a house number's picture; digits need more pixels to read
    float minNumberPixels = 14;
    float fullNumberPixels = 17;
    float maxNumberPixels = 22;
    float leastUpright = 0.5f;  // a name on the ground flattened below this share of its height stands up
    float leastSquare = 0.87f;  // and so does one slanted more than 30 degrees out of square
    float alongDegrees = 25;    // a street steeper than this on the screen gets an upright name
    float repeatPixels = 240;   // the same name again only this far from its other copies
    float candidateSpacing = 3; // map units between the places tried along a street
    float padPixels = 2;        // free space kept around each label
};

class LabelLayout {
public:
    // Width over height of a text's picture; asked once per text, when the
    // text is first placed.
    using Aspect = std::function<float(LabelKind, const std::string&)>;

    LabelLayout(std::vector<StreetLine> streets, std::vector<HouseMark> houses, Aspect aspect, LabelStyle style = {});

    // The labels of the view, street names first (each street once where it
    // can, then its repeats), then house numbers. Valid until the next call.
    const std::vector<PlacedLabel>& Place(const LabelView& view);

    const std::vector<StreetLine>& Streets() const { return m_streets; }
    const std::vector<HouseMark>& Houses() const { return m_houses; }
    const LabelStyle& Style() const { return m_style; }

    // A place a label may go.
    struct Candidate {
        int owner;  // street line or house mark
        P3 at;
        P2 dir;     // along the street; (0, 0): no course, always upright
    };

private:
    // Candidates bucketed in square cells of the ground.
    struct Grid {
        float x0 = 0, y0 = 0, cell = 16;
        int nx = 0, ny = 0;
        std::vector<std::uint32_t> start; // per cell, into `items`; one more at the end
        std::vector<std::uint32_t> items;
        void Build(const std::vector<Candidate>& candidates, float cellSize);
        // Calls back with every candidate in cells within `radius` of (x, y).
        template <class F>
        void ForNear(float x, float y, float radius, F&& visit) const;
    };
    struct Tried {
        const Candidate* candidate;
        float score;
        PlacedLabel label;
    };

    struct Sizes {
        float height, minPixels, fullPixels, maxPixels;
    };
    void gather(const LabelView& view, const std::vector<Candidate>& candidates, const Grid& grid,
                LabelKind kind, const Sizes& sizes, std::vector<Tried>& out);
    float aspectOf(LabelKind kind, int owner);
    bool readableOnGround(const PlacedLabel& label) const;
    bool fits(const ScreenRect& r, const LabelView& view) const;
    void occupy(const ScreenRect& r);

    std::vector<StreetLine> m_streets;
    std::vector<HouseMark> m_houses;
    LabelStyle m_style;
    Aspect m_aspect;
    std::vector<float> m_streetAspects, m_numberAspects; // 0 until asked
    std::vector<Candidate> m_streetCandidates, m_numberCandidates;
    Grid m_streetGrid, m_numberGrid;

    // Per call.
    std::vector<PlacedLabel> m_placed;
    std::vector<Tried> m_tried;
    std::vector<std::uint8_t> m_taken; // occupancy of screen cells
    int m_takenW = 0, m_takenH = 0;
    float m_takenCell = 6;
};

} // namespace labels
