#include <QApplication>
#include <ombrelis/app/Program.h>

int main(int argc, char** argv) {
    ombrelis::app::Program::prepareProcess();
    QApplication application(argc, argv);
    const ombrelis::app::Program program(application);
    return QApplication::exec();
}
