// The update version file: what it takes is a set of uniquely named applications with plain
// versions and web download pages, and each version's text reads back to the same version.
#include "FuzzSupport.h"
#include "VersionFileCodec.h"

#include <QSet>
#include <QUrl>

using ZelCommonUtils::VersionFileCodec;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzSupport::initialise();
    const VersionFileCodec::Document document = VersionFileCodec::parse(FuzzSupport::bytes(data, size));
    if (!document.ok) {
        FUZZ_CHECK(!document.error.isEmpty() && document.applications.isEmpty(), document.error);
        return 0;
    }
    QSet<QString> names;
    for (const VersionFileCodec::Application& application : document.applications) {
        FUZZ_CHECK(!application.name.isEmpty() && application.name == application.name.trimmed(), application.name);
        FUZZ_CHECK(!names.contains(application.name), application.name);
        names.insert(application.name);
        FUZZ_CHECK(document.find(application.name) == &application, application.name);
        if (!application.downloadUrl.isEmpty()) {
            const QString scheme = QUrl(application.downloadUrl).scheme().toLower();
            FUZZ_CHECK(scheme == QLatin1String("http") || scheme == QLatin1String("https"), application.downloadUrl);
        }

        const QString text = VersionFileCodec::versionText(application.version);
        const int date = text.indexOf(QLatin1String(" ("));
        const QString numbers = date < 0 ? text : text.left(date);
        const QString released = date < 0 ? QString() : text.mid(date + 2).chopped(1);
        VersionFileCodec::Version again{};
        FUZZ_CHECK(VersionFileCodec::parseVersion(numbers, released, &again), text);
        FUZZ_CHECK(VersionFileCodec::compare(again, application.version) == 0, text);
    }
    return 0;
}
