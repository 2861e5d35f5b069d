#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("KM700 RCP P3");
    QMainWindow window;
    window.setWindowTitle("KM700 RCP P3");
    window.resize(1000, 700);
    window.show();
    return QApplication::exec();
}
