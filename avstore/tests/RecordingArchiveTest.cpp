// The path of a recording through the archive: appended to ACF with the next identifier, its
// wave written into WAVEDATA, then found again by identifier and read back.
#include "WaveTestSupport.h"

#include "phonomir/AcfRecord.h"
#include "phonomir/DataConnection.h"
#include "phonomir/MessageSink.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

namespace {

struct SilentSink : phonomir::MessageSink {
    int shown = 0;
    void showMessage(const std::string &, phonomir::MessageIcon) override { ++shown; }
    void showError(int, const std::string &) override { ++shown; }
    bool askOkCancel(int, const std::string &) override { return true; }
};

}  // namespace

TEST_F(WaveFileTest, RecordingSavedUnderNextIdReadsBackById) {
    phonomir::DataConnection connection;
    ASSERT_EQ(connection.open(directory), 0);
    SilentSink sink;
    const Bytes samples = samplePattern(2 * 4800);
    std::int32_t savedId = -1;
    {
        phonomir::TableFile acfs(connection, phonomir::acfTable(), sink);
        ASSERT_TRUE(acfs.open());
        for (int take = 0; take < 3; ++take) {
            phonomir::AcfRecord record;
            record.folderId = 1;
            ASSERT_TRUE(acfs.nextId(record.acfId));
            record.sampling = 48000;
            record.channel = 1;
            ASSERT_TRUE(acfs.append(record.toValues()));
            MMHANDLE block = makeWaveBlock(1, 16, 48000, Bytes(samples.begin() + take, samples.end()));
            ASSERT_EQ(MMWaveWriteDB(block, acfs.handle(), "WAVEDATA", MM_TAG_WAVE), 0u);
            MMMemFree(block);
            savedId = record.acfId;
        }
    }
    EXPECT_EQ(savedId, 2);
    phonomir::TableFile acfs(connection, phonomir::acfTable(), sink);
    ASSERT_TRUE(acfs.open());
    phonomir::RecordValues values;
    ASSERT_TRUE(acfs.readById(1, values));
    MMHANDLE read = nullptr;
    ASSERT_EQ(MMWaveReadDB(&read, acfs.handle(), "WAVEDATA"), 0u);
    EXPECT_EQ(contentsOf(read).data, Bytes(samples.begin() + 1, samples.end()));
    MMMemFree(read);
    EXPECT_EQ(sink.shown, 0);
}
