// One table of the data directory, opened through the engine: holds the table handle, the
// borrowed connection, the table's layout and its index numbers. Every operation returns
// success or failure; each failure has already been reported through the message sink
// ("%s (Error=%d)"), except a read that finds no record. Used on the user-interface thread.
#pragma once

#include "phonomir/DataConnection.h"
#include "phonomir/MessageSink.h"
#include "phonomir/RecordCodec.h"
#include "phonomir/TableLayout.h"

#include <cstdint>
#include <span>
#include <vector>

namespace phonomir {

using RecordValues = std::vector<FieldValue>;  // one value per non-memo field, table order

class TableFile {
public:
    // Statuses of the wrapper itself, beside the engine's.
    static constexpr int kNoConnection = 2015;
    static constexpr int kTableClosed = 2016;
    static constexpr int kOutOfMemory = 3001;

    TableFile(DataConnection &connection, const TableLayout &layout, MessageSink &sink)
        : connection_(connection), layout_(layout), sink_(sink) {}
    ~TableFile() { close(); }
    TableFile(const TableFile &) = delete;
    TableFile &operator=(const TableFile &) = delete;

    // Opens the table, creating it with its indexes when missing and converting or recreating
    // it (after asking) when its layout is old. A failed open leaves the table closed.
    bool open();
    void close();
    bool isOpen() const { return table_ != 0; }
    std::uint32_t handle() const { return table_; }      // engine table handle, 0 when closed
    int lastError() const { return lastError_; }         // status of the last failure, 0 if none
    int indexNumber(int position) const;                 // engine number of index 1 or 2, 0 if none
    const TableLayout &layout() const { return layout_; }

    // The identifier after the last one in identifier order; 0 for an empty table.
    bool nextId(std::int32_t &id);
    // Reads the record with identifier id (id -1: the current record) and makes it current.
    bool readById(std::int32_t id, RecordValues &values);
    // Reads the current record and moves on; false (no message) when none is left.
    bool readNext(RecordValues &values);
    bool append(const RecordValues &values);   // the new record becomes current
    bool update(const RecordValues &values);   // replaces the record with the same first 8 chars
    bool deleteById(std::int32_t id);          // the record with that identifier

    // Every record, in identifier order.
    bool listAll(std::vector<RecordValues> &records);
    // Folders of one kind (FOLDER): every record with TYPE kind, in FOLDERID order.
    bool listByType(char kind, std::vector<RecordValues> &records);
    // Records of one folder (IMPULSE, ACF): in identifier order.
    bool listByFolder(std::int32_t folderId, std::vector<RecordValues> &records);

    // Memo field `field` of the current record: its content becomes `bytes`; false when it could
    // not be written (not reported: the caller knows what the memo was for).
    bool writeMemo(const char *field, std::span<const std::uint8_t> bytes);
    // The whole content of memo field `field` of the current record; false when it cannot be
    // read or holds more than `most` bytes.
    bool readMemo(const char *field, std::size_t most, std::vector<std::uint8_t> &bytes);

    // Reports a failure of this table with message id and status; returns false.
    bool fail(int messageId, int status);

private:
    enum class LayoutState { Good, Old };
    bool openOnce(bool &again);
    bool createMissing(int status, bool &created);
    LayoutState checkLayout();
    bool openIndexes(bool created);
    bool convert();
    bool recreate();
    bool ready(int messageId);  // connection open and table open; reports otherwise
    int engineStatus();         // TableError of the table
    int selectIdentifierIndex();  // status of selecting the identifier's index
    bool readRecords(int count, std::vector<RecordValues> &records);
    void recoverInterruptedConversion();

    DataConnection &connection_;
    const TableLayout &layout_;
    MessageSink &sink_;
    std::uint32_t table_ = 0;
    std::vector<int> indexNumbers_;
    int lastError_ = 0;
};

// The identifier key "%8ld" of id.
std::string identifierKey(std::int32_t id);

}  // namespace phonomir
