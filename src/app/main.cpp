#include "app/SurfaceFormat.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    installDefaultSurfaceFormat();
    QApplication app(argc, argv);
    QLabel placeholder("Quorvel");
    placeholder.show();
    return app.exec();
}
