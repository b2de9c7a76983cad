#include "app/BlankSceneViewer.h"

#include <GL/gl.h>

void BlankSceneViewer::paintGL()
{
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
