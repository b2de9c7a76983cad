#pragma once

class TGxStateCache;

// What materials and textures need from the render pass while they apply and
// restore their state. The render traversal's context embeds it (or derives
// from it) and hands it to ApplyState/RestoreState.
struct TGxMaterialContext {
    TGxStateCache* stateCache = nullptr; // required while drawing
    bool bufferCullsFaces = false;       // the buffer's own face culling wish
    bool ignoreBlendingRequests = false; // the traversal never sets it
    int lightingDisabledCounter = 0;     // materials that turned lighting off
    int fogDisabledCounter = 0;          // materials that turned fog off
};
