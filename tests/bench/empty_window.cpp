// The start-up benchmark's peer: the least a Qt Widgets program does to show a
// window. Its title is given on the command line.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("empty"));
    window.resize(760, 520);
    window.show();
    return QApplication::exec();
}
