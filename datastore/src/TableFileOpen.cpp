// Opening a TableFile: create when missing, check the layout, open or create the indexes,
// and convert or recreate a table of an old layout after asking the user.
#include "phonomir/StoreMessages.h"
#include "phonomir/TableFile.h"

#include "dbkengine.h"

#include <cstring>

namespace phonomir {
namespace {

constexpr const char *kTempTable = "TEMP.DBF";
constexpr const char *kTempMemo = "TEMP.BIN";
// Where conversions of earlier versions moved the old file aside before putting the new one in
// place; a crash between the two left only this name.
constexpr const char *kOldSuffix = ".OLD";

std::vector<DbkFieldDef> definitions(const TableLayout &layout) {
    std::vector<DbkFieldDef> defs;
    for (const FieldSpec &field : layout.fields) {
        DbkFieldDef def{};
        std::strncpy(def.name, field.name.c_str(), sizeof def.name - 1);
        def.type = field.type;
        def.width = static_cast<int16_t>(field.width);
        def.decimals = static_cast<int16_t>(field.decimals);
        defs.push_back(def);
    }
    return defs;
}

}  // namespace

bool TableFile::open() {
    close();
    lastError_ = 0;
    if (!connection_.isOpen()) return fail(layout_.messages.open, kNoConnection);
    recoverInterruptedConversion();
    // A conversion or recreation starts the open again; two rounds always suffice.
    for (int round = 0; round < 3; ++round) {
        bool again = false;
        if (openOnce(again)) return true;
        if (!again) return false;
    }
    return fail(layout_.messages.open, DBK_DAMAGED);
}

// A table file that an interrupted conversion of an earlier version left under the ".OLD" name
// goes back to its own name (and is converted again). Nothing happens while the table file
// exists: the rename refuses to replace it.
void TableFile::recoverInterruptedConversion() {
    const std::string path = connection_.tablePath(layout_.file);
    RenameTableFile(connection_.handle(), (path + kOldSuffix).c_str(), path.c_str());
}

bool TableFile::openOnce(bool &again) {
    const std::string path = connection_.tablePath(layout_.file);
    table_ = OpenTable(connection_.handle(), path.c_str());
    bool created = false;
    if (!table_ && !createMissing(ConnectionError(connection_.handle()), created)) return false;
    if (checkLayout() == LayoutState::Good) {
        if (openIndexes(created)) return true;
        close();
        return false;
    }
    again = layout_.oldLayout == OldLayoutAction::Recreate ? recreate() : convert();
    return false;
}

bool TableFile::createMissing(int status, bool &created) {
    if (status != DBK_NOT_FOUND) return fail(layout_.messages.open, status);
    const auto defs = definitions(layout_);
    table_ = CreateTable(connection_.handle(), connection_.tablePath(layout_.file).c_str(), defs.data(),
                         static_cast<int32_t>(defs.size()));
    if (!table_) return fail(layout_.messages.create, ConnectionError(connection_.handle()));
    created = true;
    return true;
}

TableFile::LayoutState TableFile::checkLayout() {
    if (layout_.oldLayout == OldLayoutAction::None) return LayoutState::Good;
    if (layout_.requiredLength && RecordLength(table_) != layout_.requiredLength) return LayoutState::Old;
    if (layout_.requiredFieldCount && FieldCount(table_) != layout_.requiredFieldCount) return LayoutState::Old;
    if (!layout_.requiredField5.empty()) {
        DbkFieldDef field{};
        if (FieldInfo(table_, 5, &field) != DBK_OK || layout_.requiredField5 != field.name) return LayoutState::Old;
    }
    return LayoutState::Good;
}

bool TableFile::openIndexes(bool created) {
    indexNumbers_.clear();
    for (const IndexSpec &index : layout_.indexes) {
        const std::string path = connection_.tablePath(index.file);
        int number = created ? 0 : OpenIndex(table_, path.c_str());
        if (number <= 0) number = CreateIndex(table_, path.c_str(), index.keyField.c_str(), index.unique ? 1 : 0);
        if (number <= 0) return fail(index.createMessage, TableError(table_));
        indexNumbers_.push_back(number);
    }
    TableError(table_);
    return true;
}

// The new table is filled beside the old one as TEMP.DBF and then renamed over it in one step,
// so the table's name holds the old records or the converted ones at every moment, also across
// a crash; an unfinished TEMP.DBF is removed by the next conversion.
bool TableFile::convert() {
    if (!sink_.askOkCancel(layout_.question, storeMessageText(layout_.question))) {
        close();
        return false;
    }
    const std::uint32_t connection = connection_.handle();
    const std::string temp = connection_.tablePath(kTempTable);
    RemoveTableFile(connection, temp.c_str());  // a leftover of an interrupted conversion
    const auto defs = definitions(layout_);
    const std::uint32_t target = CreateTable(connection, temp.c_str(), defs.data(), static_cast<int32_t>(defs.size()));
    if (!target) {
        close();
        return fail(layout_.messages.create, ConnectionError(connection));
    }
    int status = CopyRecords(table_, target);
    CloseTable(target);
    close();
    if (status == DBK_OK) status = ReplaceTableFile(connection, temp.c_str(), connection_.tablePath(layout_.file).c_str());
    if (status != DBK_OK) {
        RemoveTableFile(connection, temp.c_str());
        return fail(layout_.messages.convert, status);
    }
    // Memo contents live inside the table file; a separate memo file is replaced only where a
    // converted one was made beside it.
    if (!layout_.memoFile.empty()) {
        ReplaceTableFile(connection, connection_.tablePath(kTempMemo).c_str(), connection_.tablePath(layout_.memoFile).c_str());
    }
    return true;
}

bool TableFile::recreate() {
    close();
    if (!sink_.askOkCancel(layout_.question, storeMessageText(layout_.question))) return false;
    const int status = RemoveTableFile(connection_.handle(), connection_.tablePath(layout_.file).c_str());
    return status == DBK_OK ? true : fail(layout_.messages.open, status);
}

}  // namespace phonomir
