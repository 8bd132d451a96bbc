#include "app/DatabaseFileOpening.h"
#include "AppTestSupport.h"
#include "storage/DatabaseFile.h"

#include <QDir>
#include <QFile>

namespace {

using Kind = DatabaseFileOpening::Kind;

// A file given to the program: the patient's own (by any spelling of its path), another sound
// database, and what is not one.
TEST_F(OpenPatientTest, AFileOpensItsPatientOrIsOfferedOrRefused) {
    const QString own = settings.getUserString("Ann", CQuillmarchApp::kDbPathValue);
    const QString other = dir.filePath("other.db");
    QString error;
    ASSERT_TRUE(DatabaseFile::copy(own, other, error)) << error.toStdString();
    const QString link = dir.filePath("link.db");
    ASSERT_TRUE(QFile::link(own, link));
    QFile text(dir.filePath("notes.db"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("not a logbook\n") > 0);
    text.close();

    const struct {
        QString path;
        Kind kind;
        const char* patient;
    } cases[] = {
        {own, Kind::OpenPatient, "Ann"},
        {link, Kind::OpenPatient, "Ann"},
        {QDir(dir.path()).relativeFilePath(own).prepend(dir.path() + "/./"), Kind::OpenPatient,
         "Ann"},
        {other, Kind::OfferImport, ""},
        {text.fileName(), Kind::Refuse, ""},
        {dir.filePath("missing.db"), Kind::Refuse, ""},
    };
    for (const auto& c : cases) {
        const DatabaseFileOpening opening = decideFileOpening(settings, c.path);
        EXPECT_EQ(opening.kind, c.kind) << c.path.toStdString();
        EXPECT_EQ(opening.patient, c.patient) << c.path.toStdString();
        EXPECT_EQ(opening.why.isEmpty(), c.kind != Kind::Refuse) << c.path.toStdString();
    }
}

} // namespace
