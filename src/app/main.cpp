#include "app/loader_app.h"
#include "files/path_text.h"
#include "quarvel_version.h"

#include <QApplication>
#include <cstdio>
#include <string>
#include <string_view>

int main(int argc, char** argv) {
    // Answered before any window system is needed.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::printf("quarvel %s\n", kQuarvelVersion);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(kQuarvelVersion));
    std::string arguments;
    for (int i = 1; i < argc; ++i) {
        arguments += (i > 1 ? " " : "") + std::string(argv[i]);
    }
    // The executable's path has its links resolved; the name it was started by has not.
    quarvel::LoaderApp loader(
        quarvel::pathFromText(QCoreApplication::applicationFilePath().toStdString()), arguments,
        quarvel::pathFromText(argv[0]));
    return loader.run();
}
