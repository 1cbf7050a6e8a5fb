// ts_exporticons: writes the program's icon as PNG files for the desktop's
// icon theme, drawn by the same code the windows use, so that the installed
// icons never drift from the program's own.
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>

#include "platform/ui/CArtwork.h"

// usage: ts_exporticons DIR SIZE... (writes DIR/SIZExSIZE.png)
int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: ts_exporticons DIR SIZE...\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const QIcon icon = LoadIconResource(kIconProgram);
  const QString dir = QString::fromLocal8Bit(argv[1]);
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    const QString path = dir + QStringLiteral("/%1x%1.png").arg(size);
    if (size <= 0 || !icon.pixmap(size, size).save(path, "PNG")) {
      std::fprintf(stderr, "ts_exporticons: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
