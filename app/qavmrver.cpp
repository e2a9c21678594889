// Placeholder until the version checker lands.
#include "app/qavmrver.h"
QAVMRVersion::QAVMRVersion(const QString &programPath) : m_programPath(programPath) {}
QAVMRVersion::~QAVMRVersion() = default;
int QAVMRVersion::checkVersion(const QString &) { return 2; }
bool QAVMRVersion::updateDocument(const QString &, const QString &) { return false; }
void QAVMRVersion::setUpdateTimeout(int) {}
void QAVMRVersion::getVersionList() {}
