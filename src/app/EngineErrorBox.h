#pragma once

// Errors the engine cannot hand to a caller (a failing cadencer tick) are
// shown in the error box, as those of the window's own handlers are.
void installEngineErrorBox();
