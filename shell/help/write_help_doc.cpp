// voltaro-help-doc FOLDER: writes the guide Help shows as plain files, FOLDER/index.html and its
// pictures in FOLDER/pictures/, for the package's HTML documentation. Ends with status 1, and
// says why, when a picture or the page cannot be made or written.
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>

#include "shell/help_window.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);  // the pictures' text needs the fonts
    if (argc != 2) {
        std::fprintf(stderr, "usage: voltaro-help-doc FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString pictures =
        folder.filePath(QString::fromLatin1(voltaro::shell::kHelpPictureFolder));
    if (!QDir().mkpath(pictures)) {
        std::fprintf(stderr, "voltaro-help-doc: cannot make %s\n", qPrintable(pictures));
        return 1;
    }
    for (const QString& name : voltaro::shell::helpPictureNames()) {
        const QImage picture = voltaro::shell::helpPicture(name);
        if (picture.isNull() || !picture.save(QDir(pictures).filePath(name))) {
            std::fprintf(stderr, "voltaro-help-doc: cannot make %s\n", qPrintable(name));
            return 1;
        }
    }
    const QString html = voltaro::shell::helpPageHtml();
    QFile page(folder.filePath(QStringLiteral("index.html")));
    if (html.isEmpty() || !page.open(QIODevice::WriteOnly) || page.write(html.toUtf8()) < 0 ||
        !page.flush()) {
        std::fprintf(stderr, "voltaro-help-doc: cannot write %s\n", qPrintable(page.fileName()));
        return 1;
    }
    return 0;
}
