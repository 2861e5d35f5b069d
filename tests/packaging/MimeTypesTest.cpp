// The kinds of the job files the package declares (packaging/km700rcp-mime.xml), as a desktop
// that reads the shared MIME database sees them: a .tnk, .pmr or .nwk file is known by its
// extension in either case, and a job that lost its extension by its marks. The test's environment
// puts a folder holding only that declaration before the system's data folders in XDG_DATA_DIRS,
// so that the other kinds of the shared MIME database (CSV files) are there beside it.

#include <gtest/gtest.h>

#include <QFile>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

constexpr const char* kTrunkJob = "application/x-km700-trunk-job";
constexpr const char* kPmrJob = "application/x-km700-pmr-job";
constexpr const char* kNetwork = "application/x-km700-network";

// A file of `size` zero bytes with the low-byte-first word `mark` at byte 112 and, for a job as
// the program stores it, the operation data mark at byte 128; or the network marker at its start.
std::vector<char> TrunkOrPmrBytes(std::size_t size, std::uint16_t mark, bool operationMark = true) {
    std::vector<char> bytes(size, 0);
    bytes[112] = static_cast<char>(mark & 0xFF);
    bytes[113] = static_cast<char>(mark >> 8);
    if (operationMark) {
        const QByteArray text = "-OPERATION DATA-";
        std::copy(text.begin(), text.end(), bytes.begin() + 128);
    }
    return bytes;
}
std::vector<char> NetworkBytes() {
    std::vector<char> bytes(1536, 0);
    const QByteArray marker = "--NETWORK FILE--";
    std::copy(marker.begin(), marker.end(), bytes.begin());
    return bytes;
}

struct MimeCase {
    const char* fileName;
    std::vector<char> bytes;
    const char* type;
};

TEST(MimeTypesTest, JobFilesAreKnownByExtensionAndByTheirMarks) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::vector<MimeCase> cases = {
        {"radio.tnk", TrunkOrPmrBytes(16384, 100), kTrunkJob},
        {"RADIO.TNK", TrunkOrPmrBytes(16384, 100), kTrunkJob},
        {"blank.tnk", std::vector<char>(16384, 0), kTrunkJob},  // the extension alone
        {"channels.pmr", TrunkOrPmrBytes(75948, 202), kPmrJob},
        {"old.PMR", TrunkOrPmrBytes(75948, 200), kPmrJob},
        {"Demo.nwk", NetworkBytes(), kNetwork},
        // Sent by mail without an extension: the marks tell.
        {"network-copy", NetworkBytes(), kNetwork},
        {"pmr-copy", TrunkOrPmrBytes(75948, 202), kPmrJob},
        {"trunk-copy", TrunkOrPmrBytes(16384, 100), kTrunkJob},
    };
    QMimeDatabase database;
    for (const MimeCase& c : cases) {
        const QString path = folder.filePath(c.fileName);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes.data(), static_cast<qint64>(c.bytes.size()));
        file.close();
        EXPECT_EQ(database.mimeTypeForFile(path).name().toStdString(), c.type) << c.fileName;
    }
}

// A spreadsheet's CSV file is known by its extension whatever bytes it holds; a file whose word at
// byte 112 happens to be a job's format word, without the job's other mark, is no job.
TEST(MimeTypesTest, OtherFilesAreNotTakenForJobs) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QMimeDatabase database;
    if (!database.mimeTypeForName("text/csv").isValid()) {
        GTEST_SKIP() << "the system's shared MIME database is not installed";
    }
    const std::vector<std::pair<const char*, std::vector<char>>> files = {
        {"channels.csv", TrunkOrPmrBytes(16384, 100)},
        {"7kp_630.bin", TrunkOrPmrBytes(16384, 100, false)},
        {"code-copy", TrunkOrPmrBytes(75948, 202, false)},
    };
    for (const auto& [name, bytes] : files) {
        const QString path = folder.filePath(name);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        file.close();
        const QString type = database.mimeTypeForFile(path).name();
        EXPECT_FALSE(type.startsWith("application/x-km700")) << name << " " << type.toStdString();
    }
}

}  // namespace
