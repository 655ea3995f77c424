// A folder run over existing destinations while the disk holds one flush: the window keeps answering
// throughout, and a logoff in the middle of it puts in place the files already converted and stops.
#include "form_fixture.h"
#include "raw_registry.h"

#include "file_moves.h"
#include "main/frm_main.h"

#include <atomic>
#include <cstdio>
#include <thread>

namespace {

// Windows' own calls, but the flush of one destination's replacement (its temporary file carries the
// destination's name) waits until the test releases it, 10 s at most.
class HeldFlush final : public SystemFileMoves {
public:
    explicit HeldFlush(const std::string &destinationName) : held_("." + destinationName + ".tmp") {}
    ~HeldFlush() override {
        CloseHandle(reached);
        CloseHandle(released);
    }
    bool flush(HANDLE file) override {
        ++flushesStarted;
        std::wstring path;
        if (finalPath(file, path) && utf8Of(path).find(held_) != std::string::npos) {
            SetEvent(reached);
            WaitForSingleObject(released, 10000);
        }
        return SystemFileMoves::flush(file);
    }
    bool replace(const std::string &destination, const std::string &replacement,
                 const std::string &backup) override {
        const bool done = SystemFileMoves::replace(destination, replacement, backup);
        if (done) ++replaced;
        return done;
    }

    HANDLE reached = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> flushesStarted{0}, replaced{0};

private:
    std::string held_;
};

class RunSession : public FormTest {
protected:
    static constexpr int files = 100;
    static std::string name(int file) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "f%03d.txt", file);
        return buffer;
    }
    // Sources with tabs, and their destinations there already with other text.
    void SetUp() override {
        FormTest::SetUp();
        source = temp() + "src\\";
        destination = temp() + "dst\\";
        CreateDirectoryA(source.c_str(), nullptr);
        CreateDirectoryA(destination.c_str(), nullptr);
        for (int file = 0; file < files; ++file) {
            writeFile("src\\" + name(file), "\tnew " + std::to_string(file) + "\r\n");
            writeFile("dst\\" + name(file), "old\r\n");
        }
    }
    std::unique_ptr<FrmMain> window(FileMoves &moves) {
        auto frm = std::make_unique<FrmMain>(desk, registry, moves, taskbar, accessibility);
        frm->setQuitOnUnload(false);
        frm->load();
        controls(*frm).multipleFilesOption.click();
        listTxtFiles(*frm, source, destination, "4");
        return frm;
    }
    // How many destinations have their new text; each of the others still has its old one.
    int convertedInOrder() {
        int converted = 0;
        for (int file = 0; file < files; ++file) {
            const std::string text = readFile(destination + name(file));
            if (text == "    new " + std::to_string(file) + "\r\n") {
                EXPECT_EQ(converted, file) << name(file) << " went in place before a file ahead of it";
                ++converted;
            } else {
                EXPECT_EQ(text, "old\r\n") << name(file);
            }
        }
        return converted;
    }
    std::string source, destination;
};

TEST_F(RunSession, TheWindowAnswersWithin200MsWhileTheDiskHoldsAFlushFor10Seconds) {
    HeldFlush moves(name(5));
    const auto frm = window(moves);
    const HWND main = frm->hwnd();
    int answered = 0, unanswered = 0;
    std::thread prober([&] {
        if (WaitForSingleObject(moves.reached, 60000) != WAIT_OBJECT_0) return;
        const DWORD holdEnds = GetTickCount() + 10000;
        while (static_cast<LONG>(holdEnds - GetTickCount()) > 0) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 200, &result))
                ++answered;
            else
                ++unanswered;
            WaitForSingleObject(moves.released, 50); // paces the probes; never set until below
        }
        SetEvent(moves.released);
    });
    frm->runClicked();
    prober.join();
    EXPECT_GT(answered, 20);
    EXPECT_EQ(unanswered, 0);
    EXPECT_EQ(convertedInOrder(), files);
    ASSERT_EQ(desk.messages().size(), 1u);
    EXPECT_EQ(desk.messages()[0].text, "All done!               ");
}

TEST_F(RunSession, ALogoffPutsTheConvertedFilesInPlaceBeforeTheSessionEndsAndStopsTheRun) {
    HeldFlush moves(name(10));
    const auto frm = window(moves);
    const HWND main = frm->hwnd();
    int atSessionEnd = -1, convertedBefore = -1;
    LRESULT query = 0;
    std::thread session([&] {
        if (WaitForSingleObject(moves.reached, 60000) != WAIT_OBJECT_0) return;
        query = SendMessageA(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        convertedBefore = moves.flushesStarted;
        SetEvent(moves.released);
        // Returns once every file converted by now is in place: the session may end right after.
        SendMessageA(main, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        atSessionEnd = moves.replaced;
    });
    frm->runClicked();
    session.join();
    EXPECT_EQ(query, TRUE);
    EXPECT_GE(convertedBefore, 11);
    EXPECT_GE(atSessionEnd, convertedBefore);
    // At most the file in hand went in place after the session's end; the rest are as they were.
    const int converted = convertedInOrder();
    EXPECT_LE(converted, atSessionEnd + 1);
    EXPECT_LT(converted, files);
    const auto held = desk.of("hold session");
    ASSERT_EQ(held.size(), 1u);
    EXPECT_EQ(held[0].text, "Quillmere is saving converted files");
    EXPECT_EQ(desk.of("release session").size(), 1u);
    EXPECT_TRUE(desk.messages().empty()) << desk.messages().front().text;
    EXPECT_FALSE(frm->isLoaded());
    EXPECT_EQ(rawGetString(settingsKeyPath, "DestinationM").value_or(""), destination);
}

} // namespace
