#include "EngineTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

DbkFieldDef fieldDef(const char *name, char type, int width, int decimals) {
    DbkFieldDef field{};
    std::strncpy(field.name, name, sizeof field.name - 1);
    field.type = type;
    field.width = static_cast<int16_t>(width);
    field.decimals = static_cast<int16_t>(decimals);
    return field;
}

std::string recordBuffer(const std::vector<std::string> &fieldTexts) {
    std::string buffer;
    for (const std::string &text : fieldTexts) buffer += text;
    return buffer;
}

void EngineTest::SetUp() {
    char pattern[] = "/tmp/dbkengine-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    directory = pattern;
    int32_t error = -1;
    connection = OpenConnection(0, 0, "TEST", &error);
    ASSERT_NE(connection, 0u);
    ASSERT_EQ(error, 0);
    ASSERT_EQ(SetDataDirectory(connection, directory.c_str()), 0);
}

void EngineTest::TearDown() {
    CloseConnection(connection);
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}

DBKHANDLE EngineTest::createFolderTable(const std::string &file) {
    const DbkFieldDef fields[] = {fieldDef("FOLDERID", 'I', 8), fieldDef("TYPE", 'C', 1), fieldDef("NAME", 'C', 10),
                                  fieldDef("SCALE", 'N', 8, 2), fieldDef("DATA", 'B', 0)};
    DBKHANDLE table = CreateTable(connection, path(file).c_str(), fields, 5);
    EXPECT_NE(table, 0u) << ConnectionError(connection);
    EXPECT_EQ(CreateIndex(table, path("F1.EDX").c_str(), "FOLDERID", 1), 1);
    return table;
}

void EngineTest::appendFolder(DBKHANDLE table, int id, char type, const std::string &name) {
    char text[64];
    std::snprintf(text, sizeof text, "%8d%c%-10.10s%8.2f", id, type, name.c_str(), id / 4.0);
    EXPECT_EQ(AppendRecord(table, text), 0);
}
