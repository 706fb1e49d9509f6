// Typed records through TableFile: encoding rules, identifiers, list queries and display.
#include "RecordingSink.h"

#include "phonomir/AcfRecord.h"
#include "phonomir/DisplayTime.h"
#include "phonomir/FolderRecord.h"
#include "phonomir/ImpulseRecord.h"
#include "phonomir/MicCalRecord.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

using namespace phonomir;

namespace {

FolderRecord folder(std::int32_t id, const char *type, const char *name) {
    FolderRecord r;
    r.folderId = id;
    r.type = type;
    r.name = name;
    r.date = "20240131";
    return r;
}

AcfRecord acf(std::int32_t folderId, std::int32_t acfId) {
    AcfRecord r;
    r.folderId = folderId;
    r.acfId = acfId;
    r.sampling = 48000;
    r.title = "take " + std::to_string(acfId);
    return r;
}

}  // namespace

TEST(RecordCodec, TextIsCutToWidthAndNumbersKeepTheirFirstWidthCharacters) {
    const std::vector<FieldSpec> fields = {{"NAME", 'C', 4, 0}, {"COUNT", 'I', 3, 0}, {"LEVEL", 'N', 6, 2}};
    EXPECT_EQ(encodeRecord(fields, {std::string("abcdef"), 12345, 1234.567}), "abcd123" "1234.5");
    EXPECT_EQ(encodeRecord(fields, {std::string("ab"), -7, -1.5}), "ab   -7 -1.50");
    const auto values = decodeRecord(fields, "ab   -7 -1.50");
    EXPECT_EQ(textAt(values, 0), "ab");
    EXPECT_EQ(integerAt(values, 1), -7);
    EXPECT_DOUBLE_EQ(decimalAt(values, 2), -1.5);
}

TEST(DisplayTime, ShowsDatesAndTimesByLength) {
    EXPECT_EQ(displayTime("20240131093005"), "2024/01/31 09:30:05");
    EXPECT_EQ(displayTime("20240131"), "2024/01/31");
    EXPECT_EQ(displayTime("2024013109300"), "2024013109300");
    EXPECT_EQ(displayTime(""), "");
}

TEST_F(DataStoreTest, ImpulseFlagIsStoredAsMesTimePlusFifty) {
    TableFile impulses(connection, impulseTable(), sink);
    ASSERT_TRUE(impulses.open());
    ImpulseRecord record;
    record.impulseId = 3;
    record.mesTime = 15;
    record.mesTimeFlag = true;
    ASSERT_TRUE(impulses.append(record.toValues()));
    RecordValues values;
    ASSERT_TRUE(impulses.readById(3, values));
    EXPECT_EQ(integerAt(values, 3), 65);
    const ImpulseRecord back = ImpulseRecord::fromValues(values);
    EXPECT_EQ(back.mesTime, 15);
    EXPECT_TRUE(back.mesTimeFlag);
    ASSERT_TRUE(impulses.readById(-1, values));  // the record just found is current
    EXPECT_EQ(integerAt(values, 1), 3);
}

TEST_F(DataStoreTest, NextIdIsZeroWhenEmptyAndLastPlusOneAfterwards) {
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    std::int32_t id = -1;
    ASSERT_TRUE(folders.nextId(id));
    EXPECT_EQ(id, 0);
    ASSERT_TRUE(folders.append(folder(41, "A", "x").toValues()));
    ASSERT_TRUE(folders.append(folder(7, "A", "y").toValues()));
    ASSERT_TRUE(folders.nextId(id));
    EXPECT_EQ(id, 42);
    TableFile acfs(connection, acfTable(), sink);
    ASSERT_TRUE(acfs.open());
    ASSERT_TRUE(acfs.append(acf(500, 9).toValues()));  // FOLDERID 500 must not count
    ASSERT_TRUE(acfs.nextId(id));
    EXPECT_EQ(id, 10);
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(DataStoreTest, FolderListHoldsOneKindInIdentifierOrder) {
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    for (auto [id, type] : {std::pair{5, "A"}, {2, "I"}, {9, "A"}, {1, "A"}}) {
        ASSERT_TRUE(folders.append(folder(id, type, "n").toValues()));
    }
    std::vector<RecordValues> records;
    ASSERT_TRUE(folders.listByType('A', records));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(FolderRecord::fromValues(records[0]).folderId, 1);
    EXPECT_EQ(FolderRecord::fromValues(records[2]).folderId, 9);
    ASSERT_TRUE(folders.listByType('N', records));
    EXPECT_TRUE(records.empty());
}

TEST_F(DataStoreTest, FolderRecordsListHoldsOneFolderInIdentifierOrder) {
    TableFile acfs(connection, acfTable(), sink);
    ASSERT_TRUE(acfs.open());
    for (auto [folderId, acfId] : {std::pair{1, 30}, {2, 31}, {1, 4}, {1, 12}}) {
        ASSERT_TRUE(acfs.append(acf(folderId, acfId).toValues()));
    }
    std::vector<RecordValues> records;
    ASSERT_TRUE(acfs.listByFolder(1, records));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(AcfRecord::fromValues(records[0]).acfId, 4);
    EXPECT_EQ(AcfRecord::fromValues(records[1]).acfId, 12);
    EXPECT_EQ(AcfRecord::fromValues(records[2]).title, "take 30");
}

TEST_F(DataStoreTest, UpdateReplacesTheRecordWithTheSameIdentifier) {
    TableFile calibrations(connection, micCalTable(), sink);
    ASSERT_TRUE(calibrations.open());
    MicCalRecord record;
    record.micCalId = 4;
    record.micInfo = "old";
    ASSERT_TRUE(calibrations.append(record.toValues()));
    record.micInfo = "new";
    record.freq[19] = 20000.0;
    record.level[19] = -3.25;
    ASSERT_TRUE(calibrations.update(record.toValues()));
    RecordValues values;
    ASSERT_TRUE(calibrations.readById(4, values));
    const MicCalRecord back = MicCalRecord::fromValues(values);
    EXPECT_EQ(back.micInfo, "new");
    EXPECT_DOUBLE_EQ(back.freq[19], 20000.0);
    EXPECT_DOUBLE_EQ(back.level[19], -3.25);
}

TEST_F(DataStoreTest, ReadOfMissingRecordFailsWithoutMessage) {
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    RecordValues values;
    EXPECT_FALSE(folders.readById(3, values));
    EXPECT_FALSE(folders.readNext(values));
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(DataStoreTest, DuplicateIdentifierIsReportedWithEngineCode) {
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    ASSERT_TRUE(folders.append(folder(1, "A", "x").toValues()));
    EXPECT_FALSE(folders.append(folder(1, "A", "y").toValues()));
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.errors[0].id, 4205);
    EXPECT_EQ(sink.errors[0].text, "Can't write folder. (Error=3007)");
}
