// libFuzzer entry: arbitrary bytes opened as a port description, through the whole path
// the editor takes (see vmrfuzzdriver.h). A document that is refused is fine; a crash, a
// sanitizer report, a hang, a save that differs from the DOM writer's where that one is
// right, or a saved form that does not open into the same tree and save into the same
// bytes is a finding.

#include "fuzz/vmrfuzzdriver.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QStandardPaths>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

VmrFuzz::Driver *s_driver = nullptr;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    // No display, no user settings, the staged installation of this build.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("ORBISKDIR"))
        qputenv("ORBISKDIR", VMR_FUZZ_ORBISK);
    static QByteArray home = QDir::tempPath().toLocal8Bit() + "/vmr-fuzz-home";
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/config");
    qputenv("XDG_DATA_HOME", home + "/data");
    QStandardPaths::setTestModeEnabled(true);

    // Qt must not see libFuzzer's options.
    static int argc = 1;
    static char *args[] = {(*argv)[0], nullptr};
    static QApplication app(argc, args);
    QtMessageHandler quiet = [](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type == QtFatalMsg) {
            std::fprintf(stderr, "fatal: %s\n", qPrintable(msg));
            std::abort();
        }
    };
    qInstallMessageHandler(quiet);
    s_driver = new VmrFuzz::Driver(QString::fromLocal8Bit((*argv)[0]));
    if (!s_driver->versionList().contains(QStringLiteral("V2009"))) {
        std::fprintf(stderr, "the version script gave no version list: is ORBISKDIR right?\n");
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     qsizetype(size));
    const VmrFuzz::Outcome outcome = s_driver->run(bytes);
    if (outcome.parsed && !outcome.sameAsDomParser) {
        std::fprintf(stderr, "the editor's tree differs from the DOM parser's\n");
        std::abort();
    }
    if (outcome.parsed && !outcome.sameAsDomWriter) {
        std::fprintf(stderr, "the save differs from the DOM writer's\n");
        std::abort();
    }
    if (outcome.parsed && !outcome.savedAndReopened) {
        std::fprintf(stderr, "a loaded document saved into a form that does not open: %s\n",
                     qPrintable(outcome.error));
        std::abort();
    }
    if (outcome.parsed && !outcome.reopenedSame) {
        std::fprintf(stderr, "the saved form opens into another tree\n");
        std::abort();
    }
    if (outcome.parsed && !outcome.fixedPoint) {
        std::fprintf(stderr, "the saved form saves into other bytes\n");
        std::abort();
    }
    return 0;
}
