// Writes a generated port description of a chosen size:
//   vmr_docgen [--dense | --files | --siblings N] OUTPUT [MEGABYTES]
// --dense makes it almost all small elements, the worst case for memory; --files a port
// of about 1 330 files per megabyte; --siblings N a small port of N short files instead.
#include "bench/vmrdocgen.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    const bool dense = args.removeAll(QStringLiteral("--dense")) > 0;
    const bool files = args.removeAll(QStringLiteral("--files")) > 0;
    int siblings = 0;
    const qsizetype at = args.indexOf(QStringLiteral("--siblings"));
    if (at > 0) {
        siblings = args.value(at + 1).toInt();
        args.remove(at, 2);
    }
    if (args.size() < 2 || args.size() > 3 || (at > 0 && siblings <= 0)) {
        std::fprintf(stderr,
                     "usage: vmr_docgen [--dense | --files | --siblings N] OUTPUT [MEGABYTES]\n");
        return 2;
    }
    double megabytes = 20;
    if (args.size() == 3) {
        bool ok = false;
        megabytes = args.at(2).toDouble(&ok);
        if (!ok || megabytes <= 0 || megabytes > 4096) {
            std::fprintf(stderr, "vmr_docgen: the size is a number of megabytes, up to 4096\n");
            return 2;
        }
    }
    const qint64 bytes = qint64(megabytes * 1024 * 1024);
    const auto scale = siblings > 0 ? VmrDocGen::Scale::smallSiblings(siblings)
        : dense                     ? VmrDocGen::Scale::denseForBytes(bytes)
        : files                     ? VmrDocGen::Scale::withManyFiles(bytes)
                                    : VmrDocGen::Scale::forBytes(bytes);
    QString error;
    if (!VmrDocGen::writeFile(args.at(1), scale, &error)) {
        std::fprintf(stderr, "vmr_docgen: cannot write %s: %s\n", qPrintable(args.at(1)),
                     qPrintable(error));
        return 1;
    }
    std::printf("%s: %lld bytes\n", qPrintable(args.at(1)), QFileInfo(args.at(1)).size());
    return 0;
}
