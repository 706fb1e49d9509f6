// Presets in a PRESET table of a fresh data directory: identifiers, which memos a preset holds,
// overwriting, equal titles, titles beyond the field, and memo writes that fail halfway.
#include "../../datastore/tests/RecordingSink.h"

#include "phonomir/PresetStore.h"
#include "phonomir/TableCatalog.h"
#include "phonomir/TableFile.h"

#include <dlfcn.h>

#include <numeric>

using namespace phonomir;

namespace {

int memoWritesUntilFailure = 0;  // the write that fails, counted from 1; 0: none fails

}  // namespace

// Every memo write of the store passes here (this executable's definition takes the place of
// the engine's). The chosen one names a memo field the table lacks, so the engine itself
// refuses it with its status, as it would refuse a write on a full disk.
extern "C" int32_t MemoWrite(DBKHANDLE table, const char *field, const void *bytes, int32_t length) {
    using Write = int32_t (*)(DBKHANDLE, const char *, const void *, int32_t);
    static const auto real = reinterpret_cast<Write>(dlsym(RTLD_NEXT, "MemoWrite"));
    const bool fails = memoWritesUntilFailure > 0 && --memoWritesUntilFailure == 0;
    return real(table, fails ? "NOSUCHMEMO" : field, bytes, length);
}

namespace {

PresetMemo pattern(std::size_t size, std::uint8_t first) {
    PresetMemo memo(size);
    std::iota(memo.begin(), memo.end(), first);
    return memo;
}

// Every section's memo filled with its own pattern, whatever window is open.
PresetContent contentWith(std::int32_t openWindow) {
    PresetContent content;
    content.openWindow = openWindow;
    for (std::size_t k = 0; k < kPresetSectionCount; ++k) {
        content.memos[k] = pattern(kPresetSections[k].size, static_cast<std::uint8_t>(10 * k));
    }
    return content;
}

std::vector<std::size_t> memoSizes(const Preset &preset) {
    std::vector<std::size_t> sizes;
    for (const PresetMemo &memo : preset.content.memos) sizes.push_back(memo.size());
    return sizes;
}

}  // namespace

class PresetStoreTest : public DataStoreTest {
protected:
    void TearDown() override {
        memoWritesUntilFailure = 0;
        DataStoreTest::TearDown();
    }
    std::vector<PresetSummary> listed() {
        std::vector<PresetSummary> presets;
        EXPECT_TRUE(store.list(presets));
        return presets;
    }
    std::int32_t create(const std::string &title, const PresetContent &content) {
        std::int32_t id = -1;
        EXPECT_TRUE(store.create(title, content, id));
        return id;
    }

    PresetStore store{connection, sink};
};

TEST_F(PresetStoreTest, FirstPresetIsZeroTheNextOneAndTheListFollowsIdentifiers) {
    EXPECT_EQ(create("Zebra", contentWith(1)), 0);
    EXPECT_EQ(create("Alpha", contentWith(2)), 1);
    const auto presets = listed();
    ASSERT_EQ(presets.size(), 2u);
    EXPECT_EQ(presets[0].title, "Zebra");
    EXPECT_EQ(presets[0].openWindow, 1);
    EXPECT_EQ(presets[1].title, "Alpha");
    EXPECT_TRUE(sink.errors.empty());
}

TEST_F(PresetStoreTest, OnlyTheOscilloscopeOpenKeepsOneMemoOfNinetyTwoBytes) {
    const std::int32_t id = create("Scope", contentWith(kOscilloscopeBit));
    const auto preset = store.read(id);
    ASSERT_TRUE(preset);
    EXPECT_EQ(preset->title, "Scope");
    EXPECT_EQ(preset->content.openWindow, 4);
    EXPECT_EQ(memoSizes(*preset), (std::vector<std::size_t>{0, 0, 92, 0, 0}));
    EXPECT_EQ(preset->content.memos[2], contentWith(0).memos[2]);
}

TEST_F(PresetStoreTest, OverwriteWithNoWindowOpenEmptiesEveryMemoAndTakesTheTitle) {
    const std::int32_t id = create("Everything", contentWith(31));
    ASSERT_TRUE(store.overwrite(id, "Nothing", contentWith(0)));
    const auto preset = store.read(id);
    ASSERT_TRUE(preset);
    EXPECT_EQ(preset->title, "Nothing");
    EXPECT_EQ(preset->content.openWindow, 0);
    EXPECT_EQ(memoSizes(*preset), (std::vector<std::size_t>(5, 0)));
}

TEST_F(PresetStoreTest, EqualTitlesStaySeparatePresets) {
    const std::int32_t first = create("Hall", contentWith(kSignalGeneratorBit));
    const std::int32_t second = create("Hall", contentWith(kRealtimeAnalyzerBit));
    ASSERT_TRUE(store.remove(first));
    const auto presets = listed();
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(presets[0].id, second);
    EXPECT_EQ(store.read(second)->content.openWindow, kRealtimeAnalyzerBit);
}

TEST_F(PresetStoreTest, TitleBeyondThirtyBytesIsCutBeforeACharacter) {
    EXPECT_EQ(PresetStore::storedTitle(std::string(29, 'a') + "\xC3\xA4z"), std::string(29, 'a'));
    EXPECT_EQ(PresetStore::storedTitle(std::string(28, 'a') + "\xC3\xA4z"), std::string(28, 'a') + "\xC3\xA4");
    EXPECT_EQ(PresetStore::storedTitle("\xE2\x82\xAC" + std::string(40, 'b')), "\xE2\x82\xAC" + std::string(27, 'b'));
    const std::int32_t id = create(std::string(29, 'a') + "\xC3\xA4z", contentWith(0));
    EXPECT_EQ(store.read(id)->title, std::string(29, 'a'));
}

TEST_F(PresetStoreTest, MissingPresetCannotBeReadNorOverwritten) {
    EXPECT_FALSE(store.read(7));
    EXPECT_FALSE(store.overwrite(7, "Gone", contentWith(1)));
    ASSERT_EQ(sink.errors.size(), 2u);
    EXPECT_EQ(sink.errors[0].text, "Can't read preset file. (Error=3009)");
    EXPECT_EQ(sink.errors[1].text, "Can't write preset file. (Error=3009)");
    EXPECT_TRUE(listed().empty());
}

TEST_F(PresetStoreTest, MemoLongerThanItsRecordIsReadUpToTheRecordSize) {
    const std::int32_t id = create("Long", contentWith(kSignalGeneratorBit));
    {
        TableFile table(connection, presetTable(), sink);
        RecordValues values;
        ASSERT_TRUE(table.open() && table.readById(id, values));
        const PresetMemo longMemo = pattern(500, 1);
        ASSERT_EQ(MemoWrite(table.handle(), "SG", longMemo.data(), 500), 500);
    }
    const auto preset = store.read(id);
    ASSERT_TRUE(preset);
    EXPECT_EQ(preset->content.memos[0], pattern(108, 1));
}

TEST_F(PresetStoreTest, FailedMemoWriteLeavesNoNewPresetAndSaysSo) {
    create("Kept", contentWith(kSignalGeneratorBit));
    for (int failing = 1; failing <= 5; ++failing) {
        memoWritesUntilFailure = failing;
        std::int32_t id = -1;
        EXPECT_FALSE(store.create("Half", contentWith(31), id));
        ASSERT_FALSE(sink.errors.empty());
        EXPECT_EQ(sink.errors.back().text, "Can't write preset file. (Error=3018)");
        const auto presets = listed();
        ASSERT_EQ(presets.size(), 1u) << "write " << failing;
        EXPECT_EQ(presets[0].title, "Kept");
    }
    memoWritesUntilFailure = 0;
    EXPECT_EQ(create("Next", contentWith(0)), 1);
}

TEST_F(PresetStoreTest, FailedMemoWriteInAnOverwritePutsThePresetBack) {
    const std::int32_t id = create("Before", contentWith(kSignalGeneratorBit | kOscilloscopeBit));
    const auto before = store.read(id);
    for (int failing = 1; failing <= 5; ++failing) {
        memoWritesUntilFailure = failing;
        EXPECT_FALSE(store.overwrite(id, "After", contentWith(kRealtimeAnalyzerBit)));
        EXPECT_EQ(sink.errors.back().text, "Can't write preset file. (Error=3018)");
        const auto after = store.read(id);
        ASSERT_TRUE(after);
        EXPECT_EQ(after->title, "Before");
        EXPECT_EQ(after->content, before->content) << "write " << failing;
    }
}
