#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Ostra(Q7) Address Book Manager");
  QMainWindow w;
  w.setWindowTitle("Ostra(Q7) Address Book Manager");
  w.resize(800, 560);
  w.show();
  return app.exec();
}
