// The executors: what goes on the wire, port handling, open/close/unload.
#include "MessagingFixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "FakeLocalization.h"
#include "FakeSocket.h"
#include "LocTestFolder.h"
#include "messaging/PollTick.h"
#include "net/Net.h"
#include "net/SocketApi.h"

namespace {

namespace rec = cv::platform::recorder;

class Executors : public rizer::test::Messaging {
 protected:
    // The next payload on our own port (every broadcast reaches the sender).
    std::string OwnPayload() {
        char buf[300];
        std::string a;
        int p = 0;
        std::int32_t len = 0;
        std::int32_t n = cv::NetReceive(buf, 255, &a, &p, &len);
        return n < 0 ? "<none>" : std::string(buf, static_cast<std::size_t>(n));
    }
};

TEST_F(Executors, PayloadsReachTheSenderByteForByte) {
    cv::ExecSendMessage("Ann", "hi");
    EXPECT_EQ(OwnPayload(), "<Ann>: hi");
    cv::ExecSendMessage("", "");
    EXPECT_EQ(OwnPayload(), "<>: ");
    cv::ExecGoSub("Refresh");
    EXPECT_EQ(OwnPayload(), "$ARefresh");
    cv::ExecSystemMessage("Stop", "Warning");
    EXPECT_EQ(OwnPayload(), "$M2Stop");
    cv::ExecSystemMessage("Stop", "warning");  // the kind byte alone
    EXPECT_EQ(OwnPayload(), "");
    cv::ExecSendMessage("A", std::string(300, 'x'));  // sent, too long to receive
    EXPECT_EQ(OwnPayload(), "<none>");
}

TEST_F(Executors, ReopenStartsOver) {
    SendPlain("<A>: x");
    Tick();
    ASSERT_EQ(cv::Messaging().ChatList->Count(), 1u);
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    EXPECT_EQ(rec::LiveTimers(), 1);
    EXPECT_EQ(rec::Timers().back().intervalMs, 50u);
    EXPECT_EQ(cv::Messaging().ChatList->Count(), 0u);
    EXPECT_NE(cv::NetSocketHandle(), 0);
    SendPlain("<A>: y");
    Tick();
    EXPECT_EQ(rizer::test::Host().variables.back().second, "<A>: y\r\n");
}

TEST_F(Executors, CloseKeepsTheTextsAndIsHarmlessTwice) {
    cv::ExecClosePort();
    cv::ExecClosePort();
    EXPECT_EQ(rec::LiveTimers(), 0);
    EXPECT_EQ(cv::Messaging().ChatList, nullptr);
    EXPECT_EQ(cv::Messaging().PortText, std::to_string(kPort));
    EXPECT_EQ(cv::Messaging().ChatVariable, "Chat");
    cv::ExecSendMessage("A", "b");  // closed: nothing is sent
    cv::ExecMessageClear();
}

TEST_F(Executors, NonIntegerPortTextOpensTheDefaultPort) {
    cv::ExecOpenPort("abc", "Chat");
    rizer::test::PeerSocket other(50172);
    other.Send(50150, std::string(1, '\0') + "<A>: on 50150");
    Tick();
    ASSERT_EQ(rizer::test::Host().variables.size(), 1u);
    // 50150 + 65536: the low 16 bits.
    cv::ExecOpenPort("115686", "Chat");
    other.Send(50150, std::string(1, '\0') + "<A>: again");
    Tick();
    EXPECT_EQ(rizer::test::Host().variables.size(), 2u);
}

// Without a timer nothing would read the socket: the port closes, and the
// host's error box says so.
TEST_F(Executors, TimerRefusedLeavesNothingRunning) {
    rec::RefuseTimers() = true;
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    EXPECT_EQ(rec::LiveTimers(), 0);
    EXPECT_EQ(cv::Messaging().PollTimer, 0u);
    EXPECT_FALSE(cv::NetIsReady());
    EXPECT_EQ(rizer::test::BoxTexts(), std::vector<std::string>{"Can not initialize network protocol."});
    rizer::test::PeerSocket taker(kPort);
    EXPECT_TRUE(taker.Bound());
}

TEST_F(Executors, UnloadStopsTheTimerAndClosesTheSocket) {
    cv::MessagingUnload();
    EXPECT_EQ(rec::LiveTimers(), 0);
    EXPECT_FALSE(cv::NetIsReady());
    EXPECT_TRUE(cv::Messaging().PortText.empty());
    EXPECT_TRUE(cv::Messaging().ChatVariable.empty());
    // The port is free again.
    rizer::test::PeerSocket taker(kPort);
    EXPECT_TRUE(taker.Bound());
}

#if !defined(_WIN32)
TEST_F(Executors, SocketLibraryThatCannotStartLeavesTheHostRunning) {
    rizer::test::fake::SetStartupFails(true);
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    rizer::test::fake::SetStartupFails(false);
    EXPECT_TRUE(rec::Boxes().empty());  // not a received box
    ASSERT_EQ(rizer::test::ShownBoxes().size(), 1u);
    EXPECT_EQ(rizer::test::ShownBoxes()[0].caption, "Error");
    EXPECT_EQ(rizer::test::ShownBoxes()[0].text, "Can not initialize network protocol.");
    EXPECT_EQ(rizer::test::ShownBoxes()[0].icon, cv::LocBoxIcon::Error);
    EXPECT_FALSE(cv::NetIsReady());
    EXPECT_EQ(rec::LiveTimers(), 0);
    cv::ExecSendMessage("A", "b");
}
#endif

// riZER.key next to riZER.loc, read at every open: the steps run in this
// order, each open after the one before.
TEST_F(Executors, EveryOpenReadsTheKeyFile) {
    namespace fs = std::filesystem;
    const std::string key = "# group\r\n00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff\r\n";
    enum class File { None, Key, Invalid, Folder, FolderUnknown };
    struct Step {
        const char* what;
        File file;
        bool open;   // else closed, with the box
        bool keyed;  // when open: plain frames are dropped
    } steps[] = {
        {"no file", File::None, true, false},
        {"an invalid file closes the open port", File::Invalid, false, false},
        {"a valid file", File::Key, true, true},
        {"a file that cannot be read", File::Folder, false, false},
        {"a valid file again", File::Key, true, true},
        {"a folder the system cannot tell, a valid file beside it all the same", File::FolderUnknown, false,
         false},
        {"no file again", File::None, true, false},
    };
    cv::test::LocTestFolder folder;
    const fs::path keyPath = folder.LocPath().parent_path() / "riZER.key";
    const std::string folderText = (folder.LocPath().parent_path() / "").string();
    for (const Step& st : steps) {
        SCOPED_TRACE(st.what);
        fs::remove_all(keyPath);
        if (st.file == File::Key || st.file == File::FolderUnknown)
            std::ofstream(keyPath, std::ios::binary) << key;
        rizer::test::fake::SetLocFolder(st.file == File::FolderUnknown ? std::string() : folderText);
        if (st.file == File::Invalid) std::ofstream(keyPath, std::ios::binary) << key << key;
        if (st.file == File::Folder) fs::create_directory(keyPath);
        rizer::test::ShownBoxes().clear();
        rizer::test::Host().variables.clear();

        cv::ExecOpenPort(std::to_string(kPort), "Chat");
        EXPECT_EQ(rizer::test::BoxTexts(), st.open
                                               ? std::vector<std::string>{}
                                               : std::vector<std::string>{"The riZER.key file is invalid."});
        EXPECT_EQ(cv::NetIsReady(), st.open);
        EXPECT_EQ(cv::NetSocketHandle() != 0, st.open);
        EXPECT_EQ(rec::LiveTimers(), st.open ? 1 : 0);
        if (!st.open) {
            cv::ExecSendMessage("Ann", "hi");  // goes nowhere
            continue;
        }
        // A plain frame from a peer, then our own line: a keyed copy hears
        // only its own (sealed) line, once.
        SendPlain("<Peer>: in the clear");
        cv::ExecSendMessage("Ann", "hi");
        std::string chat;
        for (int i = 0; i < 200 && chat.find("<Ann>: hi") == std::string::npos; ++i) {
            Tick();
            if (!rizer::test::Host().variables.empty()) chat = rizer::test::Host().variables.back().second;
        }
        EXPECT_EQ(chat, st.keyed ? "<Ann>: hi\r\n" : "<Peer>: in the clear\r\n<Ann>: hi\r\n");
        EXPECT_EQ(cv::NetConsumedCount(cv::NetConsumed::Unkeyed), st.keyed ? 1u : 0u);
        EXPECT_EQ(cv::NetKeyed(), st.keyed);
    }
    std::ofstream(keyPath, std::ios::binary) << key;
    cv::ExecOpenPort(std::to_string(kPort), "Chat");
    ASSERT_TRUE(cv::NetKeyed());
    cv::MessagingUnload();
    EXPECT_FALSE(cv::NetKeyed());
}

}  // namespace
