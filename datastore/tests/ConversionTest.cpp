// Tables of an old layout: converted (keeping records, by field name) or recreated, each only
// after the user agreed.
#include "RecordingSink.h"

#include "phonomir/FolderRecord.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include "dbkengine.h"

#include <cstring>
#include <filesystem>

using namespace phonomir;

namespace {

DbkFieldDef def(const char *name, char type, int width, int decimals = 0) {
    DbkFieldDef field{};
    std::strncpy(field.name, name, 10);
    field.type = type;
    field.width = static_cast<int16_t>(width);
    field.decimals = static_cast<int16_t>(decimals);
    return field;
}

// An older FOLDER layout: no PLACE, a shorter NAME, an unknown OWNER field (record length 178).
void writeOldFolderTable(DataConnection &connection) {
    const DbkFieldDef fields[] = {def("FOLDERID", 'I', 8), def("TYPE", 'C', 1), def("NAME", 'C', 10),
                                  def("OWNER", 'C', 12), def("DATE", 'C', 8), def("TITLE", 'C', 30),
                                  def("COMMENT", 'C', 100), def("SCALE", 'N', 8, 2)};
    const DBKHANDLE table = CreateTable(connection.handle(), connection.tablePath("FOLDER.DBF").c_str(), fields, 8);
    ASSERT_NE(table, 0u);
    std::string record = "      12Ahall      me          20230405";
    record += std::string(130, ' ') + "    2.50";
    ASSERT_EQ(AppendRecord(table, record.c_str()), 0);
    CloseTable(table);
}

}  // namespace

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
    const DbkFieldDef fields[] = {def("IMPULSEID", 'I', 8), def("NDATA", 'I', 2)};
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
    const DbkFieldDef fields[] = {def("ACFID", 'I', 8), def("CONDSIZE", 'I', 5), def("FACTSIZE", 'I', 5),
                                  def("NACFFACT", 'I', 4), def("ACFCOND", 'B', 0), def("ACFFACTOR", 'B', 0)};
    CloseTable(CreateTable(connection.handle(), dataFile("ACFFACT.DBF").c_str(), fields, 6));  // length 23, old name
    sink.answer = false;
    TableFile factors(connection, acfFactorTable(), sink);
    EXPECT_FALSE(factors.open());
    EXPECT_EQ(sink.questions, std::vector<int>{4104});
    EXPECT_TRUE(std::filesystem::exists(dataFile("ACFFACT.DBF")));
}
