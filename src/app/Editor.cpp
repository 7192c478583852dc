#include "app/Editor.h"

#include <QApplication>
#include <QMainWindow>

namespace px {

int runEditor(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setObjectName("TForm1");
    window.setWindowTitle("Pixoran3");
    window.resize(800, 600);
    window.show();
    return app.exec();
}

} // namespace px
