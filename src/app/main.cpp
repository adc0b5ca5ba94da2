#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("Lexoria_Japanese");
    window.resize(725, 553);
    window.show();
    return app.exec();
}
