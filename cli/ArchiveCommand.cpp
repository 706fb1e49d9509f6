// phonomir-cli archive: the running-ACF archive of a program directory for scripts and backups:
// list folders and recordings, make a folder, export a recording as a WAV file and import one.
#include "CommandLine.h"
#include "Commands.h"
#include "StoreArguments.h"

#include "avstore32.h"
#include "phonomir/AcfArchive.h"
#include "phonomir/CsvWriter.h"
#include "phonomir/DisplayTime.h"
#include "phonomir/SampleRateTable.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace phonomir::cli {
namespace {

namespace fs = std::filesystem;

const OptionDefinition kArchiveOptions[] = {
    {"title", "TITLE", "import: the recording's title (up to 30 characters)"},
    {"comment", "TEXT", "import: its comment (up to 100 characters)"},
};

constexpr const char* kSynopsis =
    "archive DIR COMMAND ...\n\n"
    "The running-ACF archive in DIR/DATA, DIR being the directory the program runs in:\n"
    "  folders                                 id, kind, date, title of every folder\n"
    "  new-folder TITLE                        a running-ACF folder dated today; prints its id\n"
    "  list FOLDER_ID                          id, date, time, title, frames, rate, channels\n"
    "  export RECORD_ID OUT.wav                the stored recording as a WAV file\n"
    "  import FOLDER_ID IN.wav --title TITLE   a new recording (16-bit PCM, one or two channels,\n"
    "                                          one of the seven sampling rates); prints its id";

class ArchiveSession {
public:
    ArchiveSession(const std::string& directory, bool mayCreateData) {
        std::error_code error;
        if (!fs::is_directory(directory, error)) throw CliError(directory + ": no such directory");
        if (!mayCreateData && !fs::is_directory(fs::path(directory) / "DATA", error))
            throw CliError(directory + ": no DATA directory");
        const int status = connection_.open(directory);
        if (status != 0) throw CliError(directory + "/DATA: cannot be opened (status " + std::to_string(status) + ")");
    }
    AcfArchive& archive() { return archive_; }
    [[noreturn]] void fail(const std::string& what) {
        throw CliError(messages_.text.empty() ? what : what + ": " + messages_.text);
    }
    FolderRecord acfFolder(std::int32_t id) {
        FolderRecord folder;
        if (!archive_.folder(id, folder)) fail("no folder " + std::to_string(id));
        if (folder.type != "A") throw CliError("folder " + std::to_string(id) + " is not a running-ACF folder");
        return folder;
    }

private:
    DataConnection connection_;
    FirstMessage messages_;
    AcfArchive archive_{connection_, messages_};
};

void requireCount(const ParsedArguments& p, std::size_t count, const char* usage) {
    if (p.positional.size() != count) throw CliError(std::string("usage: phonomir-cli archive ") + usage);
}

void checkWidth(const std::string& text, std::size_t width, const char* what) {
    if (text.size() > width) throw CliError(std::string(what) + " is longer than " + std::to_string(width) + " characters");
}

int listFolders(ArchiveSession& session, std::ostream& out) {
    std::vector<FolderRecord> folders;
    for (char kind : {'A', 'I', 'N'}) {
        std::vector<FolderRecord> ofKind;
        if (!session.archive().folders(kind, ofKind)) session.fail("cannot read the folders");
        folders.insert(folders.end(), ofKind.begin(), ofKind.end());
    }
    std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) { return a.folderId < b.folderId; });
    CsvWriter csv(out);
    csv.text("id").text("kind").text("date").text("title");
    csv.endRow();
    for (const FolderRecord& f : folders) {
        csv.integer(f.folderId).text(f.type).text(displayTime(f.date)).text(f.title);
        csv.endRow();
    }
    return 0;
}

int newFolder(ArchiveSession& session, const std::string& title, std::ostream& out) {
    checkWidth(title, 30, "the title");
    FolderRecord folder{0, "A", "", "", storedDate(std::time(nullptr)), title, "", 1.0};
    if (!session.archive().addFolder(folder)) session.fail("cannot make the folder");
    out << folder.folderId << "\n";
    return 0;
}

int listRecordings(ArchiveSession& session, std::int32_t folderId, std::ostream& out) {
    session.acfFolder(folderId);
    std::vector<AcfRecord> records;
    if (!session.archive().recordings(folderId, records)) session.fail("cannot read the recordings");
    CsvWriter csv(out);
    for (const char* head : {"id", "date", "time", "title", "frames", "rate", "channels"}) csv.text(head);
    csv.endRow();
    for (const AcfRecord& r : records) {
        const std::string shown = displayTime(r.time);  // "YYYY/MM/DD hh:mm:ss"
        const bool split = shown.size() == 19;
        csv.integer(r.acfId).text(split ? shown.substr(0, 10) : shown).text(split ? shown.substr(11) : "");
        csv.text(r.title).integer(r.sampleNum).integer(r.sampling).integer(r.channel);
        csv.endRow();
    }
    return 0;
}

std::string describeStatus(std::uint32_t status) {
    switch (status & 0xFFFF) {
        case MM_NOT_WAVE_FILE_NAME: return "the name does not end in .wav";
        case MM_FILE_ERROR: return "cannot read or write the file, or it is cut short";
        case MM_OUT_OF_MEMORY: return "out of memory";
        case MM_WRONG_MEDIA_TYPE: return "the record holds no wave";
        case MM_NOT_PCM_WAVE: return "not a RIFF/WAVE file with PCM data";
        default: return "status " + std::to_string(status & 0xFFFF);
    }
}

// Written beside the target under a temporary name and renamed over it when whole, so an
// existing OUT.wav is never left cut short.
int exportRecording(ArchiveSession& session, std::int32_t acfId, const std::string& path) {
    AcfRecord record;
    WaveBlock wave;
    std::uint32_t status = 0;
    switch (session.archive().loadBlock(acfId, record, wave, status)) {
        case AcfArchive::LoadResult::NotFound: session.fail("no recording " + std::to_string(acfId));
        case AcfArchive::LoadResult::WaveNotRead:
            throw CliError("recording " + std::to_string(acfId) + ": " + describeStatus(status ? status : std::uint32_t{MM_NOT_PCM_WAVE}));
        case AcfArchive::LoadResult::Loaded: break;
    }
    const fs::path target(path);
    std::ostringstream hidden;
    hidden << '.' << target.filename().string() << '.' << getpid() << ".wav";
    const fs::path temporary = target.parent_path() / hidden.str();
    status = MMWaveWriteFile(wave.get(), temporary.c_str());
    if ((status & 0xFFFF) != 0) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw CliError(path + ": " + describeStatus(status));
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        fs::remove(temporary, error);
        throw CliError(path + ": cannot be written");
    }
    return 0;
}

int importRecording(ArchiveSession& session, std::int32_t folderId, const std::string& path, const ParsedArguments& p,
                    std::ostream& out) {
    if (!p.has("title") || p.text("title", "").empty()) throw CliError("import needs --title TITLE");
    AcfRecord record;
    record.title = p.text("title", "");
    record.comment = p.text("comment", "");
    checkWidth(record.title, 30, "the title");
    checkWidth(record.comment, 100, "the comment");
    session.acfFolder(folderId);
    MMHANDLE read = nullptr;
    const std::uint32_t status = MMWaveReadFile(&read, path.c_str());
    const WaveBlock block(read);
    if ((status & 0xFFFF) != 0) throw CliError(path + ": " + describeStatus(status));
    const std::optional<ArchiveWave> wave = waveFromBlock(block.get());
    if (!wave) throw CliError(path + ": not 16-bit PCM with one or two channels");
    const auto& rates = SampleRateTable::kRates;
    if (std::find(rates.begin(), rates.end(), static_cast<std::uint32_t>(wave->sampleRate)) == rates.end())
        throw CliError(path + ": " + std::to_string(wave->sampleRate) + " Hz is none of the seven sampling rates");
    const double seconds = static_cast<double>(wave->frames()) / wave->sampleRate;
    if (seconds >= 99999.995) throw CliError(path + ": too long for a recording of the archive");
    record.folderId = folderId;
    record.sampling = wave->sampleRate;
    record.channel = wave->channels;
    record.sampleNum = static_cast<std::int32_t>(wave->frames());
    record.dataTime = seconds;
    record.time = storedTime(std::time(nullptr));
    switch (session.archive().save(record, block.get())) {
        case AcfArchive::SaveResult::NotAppended: session.fail("cannot append the recording");
        case AcfArchive::SaveResult::WaveNotWritten: session.fail("cannot write the wave; nothing was added");
        case AcfArchive::SaveResult::FactorsNotWritten: session.fail("cannot write the factors; nothing was added");
        case AcfArchive::SaveResult::Saved: break;
    }
    out << record.acfId << "\n";
    return 0;
}

}  // namespace

int runArchive(Arguments args, std::ostream& out, std::ostream&) {
    const ParsedArguments p = parseArguments(args, kArchiveOptions);
    if (p.has("help")) {
        out << usageText(kSynopsis, kArchiveOptions);
        return 0;
    }
    if (p.positional.size() < 2) throw CliError("archive needs DIR and a command (see phonomir-cli archive --help)");
    const std::string& directory = p.positional[0];
    const std::string& command = p.positional[1];
    if (command == "folders") {
        requireCount(p, 2, "DIR folders");
        ArchiveSession session(directory, false);
        return listFolders(session, out);
    }
    if (command == "new-folder") {
        requireCount(p, 3, "DIR new-folder TITLE");
        ArchiveSession session(directory, true);
        return newFolder(session, p.positional[2], out);
    }
    if (command == "list") {
        requireCount(p, 3, "DIR list FOLDER_ID");
        ArchiveSession session(directory, false);
        return listRecordings(session, identifierArgument(p.positional[2], "FOLDER_ID"), out);
    }
    if (command == "export") {
        requireCount(p, 4, "DIR export RECORD_ID OUT.wav");
        ArchiveSession session(directory, false);
        return exportRecording(session, identifierArgument(p.positional[2], "RECORD_ID"), p.positional[3]);
    }
    if (command == "import") {
        requireCount(p, 4, "DIR import FOLDER_ID IN.wav --title TITLE");
        ArchiveSession session(directory, true);
        return importRecording(session, identifierArgument(p.positional[2], "FOLDER_ID"), p.positional[3], p, out);
    }
    throw CliError("unknown archive command \"" + command + "\" (see phonomir-cli archive --help)");
}

}  // namespace phonomir::cli
