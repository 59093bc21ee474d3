#include "MSPDocumentFile.h"

#include "MSPDocument.h"
#include "ModelLog.h"

#include <QDebug>
#include <QFile>
#include <QStringList>
#include <QTextCodec>
#include <QXmlStreamReader>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Result = MSPDocumentFile::Result;
using Status = MSPDocumentFile::Status;

constexpr int ReadChunk = 64 * 1024;

Result problem(Status status, const QString& text, int line = 0) {
    Result result;
    result.status = status;
    result.problem = text;
    result.line = line;
    return result;
}

Result loaded() {
    Result result;
    result.status = Status::Loaded;
    return result;
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// What a path is when it is not a file: reading a pipe or a device could block or never end.
QString notAFile(mode_t mode) {
    if (S_ISDIR(mode))
        return MSPDocumentFile::tr("it is a folder, not a file");
    if (S_ISFIFO(mode))
        return MSPDocumentFile::tr("it is a named pipe (FIFO), not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return MSPDocumentFile::tr("it is a device, not a file");
    if (S_ISSOCK(mode))
        return MSPDocumentFile::tr("it is a socket, not a file");
    return MSPDocumentFile::tr("it is not a regular file");
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_size == b.st_size && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

// At most limit + 1 bytes of a regular file: one byte more than allowed tells a file at the limit
// from a larger one, whatever size the file claims.
Result readRegularFile(const QString& fileName, qint64 limit) {
    const QByteArray path = QFile::encodeName(fileName);
    // Non-blocking, so that opening a FIFO without a writer returns at once and is then refused.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        if (error == ENXIO && ::stat(path.constData(), &info) == 0)
            return problem(Status::NotOpened, notAFile(info.st_mode));
        return problem(Status::NotOpened, systemError(error));
    }
    struct stat before {};
    if (::fstat(fd, &before) != 0) {
        const int error = errno;
        ::close(fd);
        return problem(Status::NotOpened, systemError(error));
    }
    if (!S_ISREG(before.st_mode)) {
        ::close(fd);
        return problem(Status::NotOpened, notAFile(before.st_mode));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

    Result result;
    result.contents.reserve(int(qMin<qint64>(before.st_size, limit) + 1));
    char buffer[ReadChunk];
    while (result.contents.size() <= limit) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return problem(Status::NotOpened, systemError(error));
        }
        if (n == 0)
            break;
        result.contents.append(buffer, int(n));
    }
    struct stat after {};
    const bool changed = ::fstat(fd, &after) != 0 || !sameFile(before, after);
    ::close(fd);

    if (result.contents.size() > limit) {
        return problem(
            Status::Refused,
            MSPDocumentFile::tr("the file is larger than %1 KiB, more than any configuration file").arg(limit / 1024));
    }
    // Something wrote to the file while we read it: what we have may be half of each version.
    if (changed)
        return problem(Status::Refused, MSPDocumentFile::tr("the file changed while it was read; try again"));
    result.status = Status::Loaded;
    return result;
}

// The encoding named in the XML declaration, empty when there is none.
QByteArray declaredEncoding(const QByteArray& data, int* line) {
    *line = 1;
    int start = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        start = 3;
    if (data.mid(start, 5) != "<?xml")
        return QByteArray();
    const int end = data.indexOf("?>", start);
    const QByteArray declaration = data.mid(start, end < 0 ? 200 : end - start);
    const int at = declaration.indexOf("encoding");
    if (at < 0)
        return QByteArray();
    *line = 1 + int(declaration.left(at).count('\n'));
    int i = at + 8;
    while (i < declaration.size() &&
           (declaration.at(i) == ' ' || declaration.at(i) == '=' || declaration.at(i) == '\t' ||
            declaration.at(i) == '\r' || declaration.at(i) == '\n'))
        ++i;
    if (i >= declaration.size() || (declaration.at(i) != '"' && declaration.at(i) != '\''))
        return QByteArray();
    const int close = declaration.indexOf(declaration.at(i), i + 1);
    return close < 0 ? QByteArray() : declaration.mid(i + 1, close - i - 1);
}

// The offset of the first byte that is not part of well-formed UTF-8, -1 when there is none.
int firstInvalidUtf8(const QByteArray& data) {
    const auto* bytes = reinterpret_cast<const uchar*>(data.constData());
    const int size = data.size();
    int i = 0;
    while (i < size) {
        const uchar lead = bytes[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        uint minimum = 0;
        uint code = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            minimum = 0x80;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            minimum = 0x800;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            minimum = 0x10000;
            code = lead & 0x07;
        } else {
            return i;
        }
        for (int k = 1; k < length; ++k) {
            if (i + k >= size || (bytes[i + k] & 0xC0) != 0x80)
                return i;
            code = code << 6 | (bytes[i + k] & 0x3F);
        }
        if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return i;
        i += length;
    }
    return -1;
}

int lineAt(const QByteArray& data, int offset) {
    return 1 + int(QByteArray::fromRawData(data.constData(), offset).count('\n'));
}

Result encodingProblem(const QByteArray& data) {
    int line = 1;
    const QByteArray declared = declaredEncoding(data, &line);
    // UTF-16 and UTF-32 documents start with a byte-order mark or a NUL; the XML reader itself
    // tells their problems.
    if (data.startsWith("\xFE\xFF") || data.startsWith("\xFF\xFE") || data.startsWith('\0'))
        return loaded();
    QTextCodec* codec = declared.isEmpty() ? QTextCodec::codecForName("UTF-8") : QTextCodec::codecForName(declared);
    if (!codec) {
        return problem(
            Status::Refused,
            MSPDocumentFile::tr("the document declares the encoding \"%1\", which this program does not know")
                .arg(QString::fromLatin1(declared.left(40))),
            line);
    }
    if (codec->mibEnum() == 106) { // UTF-8
        const int offset = firstInvalidUtf8(data);
        if (offset < 0)
            return loaded();
        const QString byte = QStringLiteral("0x") +
                             QString::number(uchar(data.at(offset)), 16).toUpper().rightJustified(2, QLatin1Char('0'));
        const QString text =
            declared.isEmpty()
                ? MSPDocumentFile::tr("byte %1 is not UTF-8, the encoding of a document that declares none").arg(byte)
                : MSPDocumentFile::tr("byte %1 is not valid %2, the encoding the document declares")
                      .arg(byte, QString::fromLatin1(declared));
        return problem(Status::Refused, text, lineAt(data, offset));
    }
    // The other encodings this program knows map every byte, or replace what they cannot map.
    return loaded();
}

} // namespace

MSPDocumentFile::Result MSPDocumentFile::load(const QString& fileName) {
    Result result = readRegularFile(fileName, MSPDocument::maximumSize);
    if (!result.ok()) {
        qCWarning(lcModel).noquote() << "configuration file" << fileName << "not read:" << result.problem;
        return result;
    }
    const QByteArray contents = result.contents;
    result = check(contents);
    if (!result.ok())
        qCWarning(lcModel).noquote() << "configuration file" << fileName << "refused at line" << result.line
                                     << result.problem;
    return result;
}

MSPDocumentFile::Result MSPDocumentFile::check(const QByteArray& contents) {
    if (contents.size() > MSPDocument::maximumSize) {
        return problem(Status::Refused, tr("the file is larger than %1 KiB, more than any configuration file")
                                            .arg(MSPDocument::maximumSize / 1024));
    }
    if (contents.trimmed().isEmpty())
        return problem(Status::Refused, tr("the file is empty"));
    const Result encoding = encodingProblem(contents);
    if (!encoding.ok())
        return encoding;

    // The reader applies each element as it goes, so a document must be well formed and ours
    // before any of it is read for real.
    QXmlStreamReader xml(contents);
    QStringList open;
    QList<int> openedOn;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (open.isEmpty() && xml.name() != QLatin1String("v1")) {
                return problem(
                    Status::Refused,
                    tr("not a configuration document: its root element is <%1>, not <v1>").arg(xml.name().left(40)),
                    int(xml.lineNumber()));
            }
            open.append(xml.name().toString());
            openedOn.append(int(xml.lineNumber()));
        } else if (xml.isEndElement()) {
            open.removeLast();
            openedOn.removeLast();
        }
    }
    if (xml.hasError()) {
        const int line = int(xml.lineNumber());
        if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) {
            if (open.isEmpty())
                return problem(Status::Refused, tr("the file holds no configuration document"), line);
            return problem(Status::Refused,
                           tr("the document ends early, with <%1> (line %2) still open")
                               .arg(open.last().left(40))
                               .arg(openedOn.last()),
                           line);
        }
        return problem(Status::Refused, tr("not well-formed XML: %1").arg(xml.errorString()), line);
    }

    const MSPDocument::ReadResult trial = MSPDocument::check(contents);
    if (!trial.ok)
        return problem(Status::Refused, tr("not a valid configuration document: %1").arg(trial.error), trial.line);

    Result result = loaded();
    result.contents = contents;
    return result;
}
