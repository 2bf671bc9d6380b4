#include "app/loader_app.h"

#include <QApplication>
#include <string>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral("1.0.001"));
    std::string arguments;
    for (int i = 1; i < argc; ++i) {
        arguments += (i > 1 ? " " : "") + std::string(argv[i]);
    }
    quarvel::LoaderApp loader(QCoreApplication::applicationFilePath().toStdString(), arguments);
    return loader.run();
}
