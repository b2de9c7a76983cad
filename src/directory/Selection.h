#pragma once

class TGxScene;

// Every house (a Thouse directly under the object root) back to its normal
// colours: green, no selection, no glow.
void DeSelectAll(TGxScene& scene);
