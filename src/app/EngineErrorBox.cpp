#include "app/EngineErrorBox.h"

#include "engine/scene/GxErrorReport.h"
#include "platform/ErrorBox.h"

void installEngineErrorBox()
{
    SetGxErrorReporter([] { showErrorBox(currentExceptionText()); });
}
