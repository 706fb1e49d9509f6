// Tables of an old layout: converted (keeping records, by field name) or recreated, each only
// after the user agreed.
#include "RecordingSink.h"

#include "phonomir/FolderRecord.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include "dbkengine.h"

#include <filesystem>

using namespace phonomir;

TEST_F(DataStoreTest, CancelledConversionLeavesTheOldFileUntouched) {
    writeOldFolderTable(connection);
    const auto before = std::filesystem::file_size(dataFile("FOLDER.DBF"));
    sink.answer = false;
    TableFile folders(connection, folderTable(), sink);
    EXPECT_FALSE(folders.open());
    EXPECT_FALSE(folders.isOpen());
    EXPECT_EQ(sink.questions, std::vector<int>{4101});
    EXPECT_EQ(std::filesystem::file_size(dataFile("FOLDER.DBF")), before);
    const DBKHANDLE table = OpenTable(connection.handle(), dataFile("FOLDER.DBF").c_str());
    EXPECT_EQ(RecordLength(table), 178);
    CloseTable(table);
}

TEST_F(DataStoreTest, ConversionKeepsRecordsByFieldNameAndLeavesNoTempFiles) {
    writeOldFolderTable(connection);
    TableFile folders(connection, folderTable(), sink);
    ASSERT_TRUE(folders.open());
    EXPECT_EQ(sink.questions, std::vector<int>{4101});
    EXPECT_EQ(RecordLength(folders.handle()), 196);
    RecordValues values;
    ASSERT_TRUE(folders.readById(12, values));
    const FolderRecord record = FolderRecord::fromValues(values);
    EXPECT_EQ(record.type, "A");
    EXPECT_EQ(record.name, "hall");
    EXPECT_EQ(record.place, "");
    EXPECT_EQ(record.date, "20230405");
    EXPECT_DOUBLE_EQ(record.scale, 2.5);
    for (const auto &entry : std::filesystem::directory_iterator(root + "/DATA")) {
        const std::string name = entry.path().filename();
        EXPECT_TRUE(name == "FOLDER.DBF") << name;  // no TEMP.DBF, no kept old file
    }
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(DataStoreTest, OldCalculationTableIsRemovedAndRecreatedEmpty) {
    const DbkFieldDef fields[] = {fieldDef("IMPULSEID", 'I', 8), fieldDef("NDATA", 'I', 2)};
    const DBKHANDLE old = CreateTable(connection.handle(), dataFile("ACPARAM.DBF").c_str(), fields, 2);
    ASSERT_EQ(AppendRecord(old, "       1 3"), 0);
    CloseTable(old);
    TableFile parameters(connection, acParameterTable(), sink);
    ASSERT_TRUE(parameters.open());
    EXPECT_EQ(sink.questions, std::vector<int>{4104});
    EXPECT_EQ(RecordLength(parameters.handle()), 2762);
    EXPECT_EQ(CountFiltered(parameters.handle()), 0);
}

TEST_F(DataStoreTest, CancelledRecreationFailsAndKeepsTheFile) {
    const DbkFieldDef fields[] = {fieldDef("ACFID", 'I', 8), fieldDef("CONDSIZE", 'I', 5), fieldDef("FACTSIZE", 'I', 5),
                                  fieldDef("NACFFACT", 'I', 4), fieldDef("ACFCOND", 'B', 0), fieldDef("ACFFACTOR", 'B', 0)};
    CloseTable(CreateTable(connection.handle(), dataFile("ACFFACT.DBF").c_str(), fields, 6));  // length 23, old name
    sink.answer = false;
    TableFile factors(connection, acfFactorTable(), sink);
    EXPECT_FALSE(factors.open());
    EXPECT_EQ(sink.questions, std::vector<int>{4104});
    EXPECT_TRUE(std::filesystem::exists(dataFile("ACFFACT.DBF")));
}
