// The configuration document and keypad reply reader: a document it takes is saved again, and
// the saved text reads back to the same models, so saves never drift. The checks a file passes
// before it is read take nothing the reader refuses, and name every refusal.
#include "FuzzSupport.h"
#include "MSPDocument.h"
#include "MSPDocumentFile.h"
#include "MSPSceneModel.h"
#include "SystemConfiguration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::initialise();
    const QByteArray input = FuzzSupport::bytes(data, size);

    QString text;
    const auto save = [&text](const MSPDocument::ReadResult& result, const MSPSceneModel& model,
                              const SystemConfiguration& configuration) {
        if (result.ok)
            text = MSPDocument::text(model, configuration);
    };
    const MSPDocument::ReadResult first = MSPDocument::inspect(input, save);
    FUZZ_CHECK(first.ok == first.error.isEmpty(), first.error);
    if (!first.ok) {
        const MSPDocumentFile::Result file = MSPDocumentFile::check(input);
        FUZZ_CHECK(!file.ok() && !file.problem.isEmpty(), file.problem);
        return 0;
    }

    // Everything outside ISO-8859-1 must have been escaped by the writers.
    const QByteArray saved = text.toLatin1();
    FUZZ_CHECK(QString::fromLatin1(saved) == text, FuzzSupport::firstDifference(QString::fromLatin1(saved), text));

    const QString once = text;
    const MSPDocument::ReadResult second = MSPDocument::inspect(saved, save);
    FUZZ_CHECK(second.ok, QStringLiteral("line %1: %2").arg(second.line).arg(second.error));
    FUZZ_CHECK(text == once, FuzzSupport::firstDifference(once, text));
    return 0;
}
