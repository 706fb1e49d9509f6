#include "RecordingSink.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

DbkFieldDef fieldDef(const char *name, char type, int width, int decimals) {
    DbkFieldDef field{};
    std::strncpy(field.name, name, 10);
    field.type = type;
    field.width = static_cast<int16_t>(width);
    field.decimals = static_cast<int16_t>(decimals);
    return field;
}

void writeOldFolderTable(phonomir::DataConnection &connection, const std::string &file) {
    const DbkFieldDef fields[] = {fieldDef("FOLDERID", 'I', 8), fieldDef("TYPE", 'C', 1), fieldDef("NAME", 'C', 10),
                                  fieldDef("OWNER", 'C', 12), fieldDef("DATE", 'C', 8), fieldDef("TITLE", 'C', 30),
                                  fieldDef("COMMENT", 'C', 100), fieldDef("SCALE", 'N', 8, 2)};
    const DBKHANDLE table = CreateTable(connection.handle(), connection.tablePath(file).c_str(), fields, 8);
    ASSERT_NE(table, 0u);
    std::string record = "      12Ahall      me          20230405";
    record += std::string(130, ' ') + "    2.50";
    ASSERT_EQ(AppendRecord(table, record.c_str()), 0);
    CloseTable(table);
}

void DataStoreTest::SetUp() {
    char pattern[] = "/tmp/datastore-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root = pattern;
    ASSERT_EQ(connection.open(root), 0);
}

void DataStoreTest::TearDown() {
    connection.close();
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}
