// Deleting a folder with its measurements and calculation records, and one measurement.
#include "RecordingSink.h"

#include "phonomir/AcfRecord.h"
#include "phonomir/FolderDeletion.h"
#include "phonomir/FolderRecord.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include "dbkengine.h"

using namespace phonomir;

namespace {

int countRecords(DataConnection &connection, const TableLayout &layout, MessageSink &sink) {
    TableFile table(connection, layout, sink);
    EXPECT_TRUE(table.open());
    return CountFiltered(table.handle());
}

}  // namespace

class CascadeTest : public DataStoreTest {
protected:
    // Folders 1 ("A") and 2 ("A"); ACF records 10, 11 in folder 1 and 12 in folder 2, each with
    // an ACFFACT record of the same ACFID.
    void SetUp() override {
        DataStoreTest::SetUp();
        TableFile folders(connection, folderTable(), sink), acfs(connection, acfTable(), sink),
            factors(connection, acfFactorTable(), sink);
        ASSERT_TRUE(folders.open() && acfs.open() && factors.open());
        for (int id : {1, 2}) {
            FolderRecord f;
            f.folderId = id;
            f.type = "A";
            ASSERT_TRUE(folders.append(f.toValues()));
        }
        for (auto [folderId, acfId] : {std::pair{1, 10}, {1, 11}, {2, 12}}) {
            AcfRecord a;
            a.folderId = folderId;
            a.acfId = acfId;
            ASSERT_TRUE(acfs.append(a.toValues()));
            ASSERT_TRUE(factors.append({acfId, 0, 0, 0}));
        }
    }
};

TEST_F(CascadeTest, DeletingFolderRemovesItsMeasurementsAndTheirFactors) {
    FolderDeletion deletion(connection, sink);
    ASSERT_TRUE(deletion.deleteFolder(1));
    EXPECT_EQ(countRecords(connection, folderTable(), sink), 1);
    EXPECT_EQ(countRecords(connection, acfTable(), sink), 1);
    TableFile factors(connection, acfFactorTable(), sink);
    ASSERT_TRUE(factors.open());
    RecordValues values;
    EXPECT_FALSE(factors.readById(10, values));
    EXPECT_FALSE(factors.readById(11, values));
    EXPECT_TRUE(factors.readById(12, values));
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(CascadeTest, MissingFolderShowsCantFindFolderWithoutCode) {
    FolderDeletion deletion(connection, sink);
    EXPECT_FALSE(deletion.deleteFolder(77));
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0].id, 4244);
    EXPECT_EQ(sink.errors[0].text, "Can't find folder.");
    EXPECT_EQ(countRecords(connection, acfTable(), sink), 3);
}

TEST_F(CascadeTest, DeletingOneMeasurementRemovesItsFactorOnly) {
    FolderDeletion deletion(connection, sink);
    ASSERT_TRUE(deletion.deleteAcf(11));
    EXPECT_EQ(countRecords(connection, acfTable(), sink), 2);
    EXPECT_EQ(countRecords(connection, acfFactorTable(), sink), 2);
    EXPECT_EQ(countRecords(connection, folderTable(), sink), 2);
}
