#include "sync/ActivityLog.h"

#include "platform/Files.h"
#include "support/ProgramFixture.h"

#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <random>

using tk::SYSTEMTIME;

namespace {

std::string Read(const std::filesystem::path& file) {
    return tk::ReadWholeFile(file.string());
}
void Write(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

// 9 December 2004, UTC; the fake local time is UTC + 1 hour.
constexpr SYSTEMTIME Utc(std::uint16_t h, std::uint16_t m, std::uint16_t s, std::uint16_t ms = 0) {
    return {2004, 12, 4, 9, h, m, s, ms};
}

struct LineCase {
    const char* name;
    TLogEntry entry;
    bool corrigeDate;
    const char* line;
};

// A failing row is named, not dumped as bytes.
void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

const LineCase lineCases[] = {
    {"OnTime",
     {Utc(9, 37, 5), Utc(9, 37, 8), true, "", false, false},
     false,
     "Exécution : 09/12/2004 10:37:05 - PC à l'heure."},
    {"TwoHoursBehind",
     {Utc(7, 37, 5), Utc(9, 37, 5), false, "Le PC retardait de 2 heures.", false, false},
     false,
     "Exécution : 09/12/2004 08:37:05 - Nouvelle heure : 10:37:05 - Le PC retardait de 2 "
     "heures."},
    {"WithTheDateEvenUnchanged",
     {Utc(7, 37, 5), Utc(9, 37, 5), false, "Le PC retardait de 2 heures.", false, false},
     true,
     "Exécution : 09/12/2004 08:37:05 - Nouvelle date : 09/12/2004 - Nouvelle heure : 10:37:05 "
     "- Le PC retardait de 2 heures."},
    {"SecondsCutNotRounded",
     {Utc(9, 37, 5, 999), Utc(9, 37, 5), true, "", false, false},
     false,
     "Exécution : 09/12/2004 10:37:05 - PC à l'heure."},
    {"LocalMidnightBeforeShowsTheDateAlone",
     {Utc(23, 0, 0, 400), Utc(23, 0, 2), true, "", false, false},
     false,
     "Exécution : 10/12/2004 - PC à l'heure."},
    {"LocalMidnightAfterShowsTheTime",
     {Utc(22, 0, 0), Utc(23, 0, 0), false, "Le PC retardait de 1 heure.", false, false},
     false,
     "Exécution : 09/12/2004 23:00:00 - Nouvelle heure : 00:00:00 - Le PC retardait de 1 heure."},
    {"Refused",
     {Utc(7, 37, 5), Utc(9, 37, 5), false, "Le PC retardait de 2 heures.", false, true},
     false,
     "Exécution : 09/12/2004 08:37:05 - Nouvelle heure : 10:37:05 - Le PC retardait de 2 "
     "heures. - Correction refusée par le système."},
    {"ConnectionFailedComesFirst",
     {Utc(9, 37, 5), Utc(9, 37, 5), true, "", true, false},
     true,
     "Exécution : 09/12/2004 10:37:05 - Erreur de connexion au serveur."},
};

class LogLineTest : public ProgramFixture, public testing::WithParamInterface<LineCase> {};

TEST_P(LogLineTest, Text) {
    tk::fake::TheClock().localOffsetMinutes = 60;
    EXPECT_EQ(LogLine(GetParam().entry, GetParam().corrigeDate), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(Lines, LogLineTest, testing::ValuesIn(lineCases),
                         [](const auto& info) { return std::string(info.param.name); });

class ActivityLogTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        programDir_ = Dir().string() + "/";
        log_ = Dir() / "Pendulix.log";
        settings_.LogFile = true;
        entry_ = {Utc(9, 37, 5), Utc(9, 37, 6), true, "", false, false};
    }
    // Start-up, then one run's log stage.
    void LoadAndAppend() {
        LoadActivityLog(lines_, programDir_, settings_.LogFile, settings_.SilentMode);
        AppendLogEntry(lines_, programDir_, settings_, entry_);
    }

    std::string programDir_;
    std::filesystem::path log_;
    TSettings settings_;
    TLogEntry entry_;
    tk::TStringList lines_;
};

const std::string NewLine = "Ex\xE9"
                            "cution : 09/12/2004 09:37:05 - PC \xE0 l'heure.\r\n";

TEST_F(ActivityLogTest, FilesInAndOut) {
    const struct {
        const char* name;
        std::optional<std::string> before; // no file when empty
        std::string after;
    } cases[] = {
        {"NoFile", std::nullopt, NewLine},
        {"EmptyFile", std::string(), NewLine},
        {"LineFeedsOnly", std::string("a\nb"), "a\r\nb\r\n" + NewLine},
        {"EmptyLinesAndALoneCarriageReturn", std::string("a\r\n\r\n\nb\r"),
         "a\r\n\r\n\r\nb\r\n" + NewLine},
        {"NulByteKept", std::string("a\0b\r\nc\r\n", 8), std::string("a\0b\r\nc\r\n", 8) + NewLine},
        {"AccentsKept", std::string("\xE9t\xE9 \x80\r\n"), "\xE9t\xE9 \x80\r\n" + NewLine},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(log_);
        lines_.Clear();
        if (c.before)
            Write(log_, *c.before);
        LoadAndAppend();
        EXPECT_EQ(Read(log_), c.after);
        EXPECT_FALSE(std::filesystem::exists(tk::TemporaryNameFor(log_.string())));
    }
}

TEST_F(ActivityLogTest, TheLineLimit) {
    std::string full;
    for (int i = 1; i < 32000; ++i)
        full += "l" + std::to_string(i) + "\n";
    Write(log_, full);
    LoadAndAppend();
    EXPECT_EQ(lines_.Count(), 32000u);
    EXPECT_EQ(lines_[31999], "Exécution : 09/12/2004 09:37:05 - PC à l'heure.");

    // Full: nothing added, but the file is still rewritten (here: with CR LF).
    Write(log_, full + "last\n");
    lines_.Clear();
    LoadAndAppend();
    EXPECT_EQ(lines_.Count(), 32000u);
    EXPECT_EQ(lines_[31999], "last");
    const std::string bytes = Read(log_);
    EXPECT_EQ(bytes.substr(bytes.size() - 6), "last\r\n");
    EXPECT_EQ(bytes.substr(0, 4), "l1\r\n");
}

TEST_F(ActivityLogTest, LogFileOffLeavesTheFileAlone) {
    Write(log_, "a\nb");
    settings_.LogFile = false;
    LoadAndAppend();
    EXPECT_EQ(lines_.Count(), 0u);
    EXPECT_EQ(Read(log_), "a\nb");
}

TEST_F(ActivityLogTest, ALogThatCannotBeReadTurnsLoggingOff) {
    // Opens, then fails on the first read, for root too.
    std::filesystem::create_symlink("/proc/self/mem", log_);
    LoadActivityLog(lines_, programDir_, settings_.LogFile, settings_.SilentMode);
    EXPECT_FALSE(settings_.LogFile);
    ASSERT_EQ(tk::fake::Dialogs().size(), 1u);
    EXPECT_EQ(tk::fake::Dialogs()[0].caption, "Erreur");
    EXPECT_EQ(tk::fake::Dialogs()[0].text, "Impossible d'ouvrir le fichier " + log_.string());
    AppendLogEntry(lines_, programDir_, settings_, entry_);
    EXPECT_TRUE(std::filesystem::is_symlink(log_));
}

TEST_F(ActivityLogTest, AFileThatCannotBeCreatedIsReportedAndTheOldLogKept) {
    Write(log_, "old\r\n");
    std::filesystem::create_directory(tk::TemporaryNameFor(log_.string()));
    LoadAndAppend();
    EXPECT_EQ(Read(log_), "old\r\n");
    ASSERT_EQ(tk::fake::Dialogs().size(), 1u);
    EXPECT_EQ(tk::fake::Dialogs()[0].text, "Impossible de créer le fichier " + log_.string());
}

TEST_F(ActivityLogTest, AReadOnlyFolderIsReportedAndTheOldLogKept) {
    Write(log_, "old\r\n");
    const pid_t child = fork();
    if (child == 0) {
        // Root writes anywhere, so the folder is made read-only by a mount of its own (in a
        // mount namespace of this child); elsewhere its mode is enough.
        const std::string folder = Dir().string();
        const bool mounted =
            unshare(CLONE_NEWNS) == 0 &&
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            mount(folder.c_str(), folder.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
            mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
        if (!mounted && (geteuid() == 0 || chmod(folder.c_str(), 0555) != 0))
            _exit(2);
        LoadAndAppend();
        const bool reported =
            tk::fake::Dialogs().size() == 1 &&
            tk::fake::Dialogs()[0].text == "Impossible de créer le fichier " + log_.string();
        _exit(reported ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    chmod(Dir().c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2) << "could not make the folder read-only";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the failure was not reported as it should";
    EXPECT_EQ(Read(log_), "old\r\n");
    EXPECT_FALSE(std::filesystem::exists(tk::TemporaryNameFor(log_.string())));
}

TEST_F(ActivityLogTest, AWriteThatStopsShortIsReportedAndTheOldLogKept) {
    Write(log_, "old\r\n");
    const pid_t child = fork();
    if (child == 0) {
        // A file size limit makes the write stop short.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{8, 8};
        setrlimit(RLIMIT_FSIZE, &limit);
        LoadAndAppend();
        const bool reported = tk::fake::Dialogs().size() == 1 &&
                              tk::fake::Dialogs()[0].text == "Erreur d'écriture dans le flux";
        _exit(reported ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(Read(log_), "old\r\n");
    EXPECT_FALSE(std::filesystem::exists(tk::TemporaryNameFor(log_.string())));
}

TEST_F(ActivityLogTest, AKilledRewriteLeavesTheOldOrTheNewLogNeverAMix) {
    const std::string oldLog(300000, 'o');
    const std::string newLog(600000, 'n');
    Write(log_, oldLog);
    std::mt19937 random(42);
    for (int attempt = 0; attempt < 60; ++attempt) {
        const pid_t child = fork();
        if (child == 0) {
            tk::ReplaceFileContents(log_.string(), attempt % 2 ? oldLog : newLog);
            _exit(0);
        }
        usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = Read(log_);
        ASSERT_TRUE(now == oldLog || now == newLog)
            << "attempt " << attempt << ": " << now.size() << " bytes";
    }
}

} // namespace
