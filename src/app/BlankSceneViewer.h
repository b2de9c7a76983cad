#pragma once

#include <QOpenGLWidget>

// Stands in for the map view until the scene engine draws the town: an OpenGL
// view that shows the view's white background.
class BlankSceneViewer : public QOpenGLWidget {
public:
    using QOpenGLWidget::QOpenGLWidget;

protected:
    void paintGL() override;
};
