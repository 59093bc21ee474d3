// Runs inputs through a fuzz target once each, without libFuzzer: the corpus as a test.
//     fuzz_document fuzz/corpus/document [more files or folders]
#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

QStringList inputsOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isDir())
        return {path};
    QStringList files;
    const QFileInfoList entries = QDir(path).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries)
        files << entry.filePath();
    return files;
}

} // namespace

int main(int argc, char* argv[]) {
    QStringList files;
    for (int i = 1; i < argc; ++i)
        files << inputsOf(QString::fromLocal8Bit(argv[i]));
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n(no inputs found)\n", argv[0]);
        return 1;
    }
    for (const QString& name : qAsConst(files)) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s: %s\n", qPrintable(name), qPrintable(file.errorString()));
            return 1;
        }
        const QByteArray data = file.readAll();
        FuzzSupport::setCurrentInput(name);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(data.constData()), static_cast<size_t>(data.size()));
    }
    std::printf("%d inputs replayed\n", int(files.size()));
    return 0;
}
