#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine3d/TextureRaw.h"
#include "base/WideString.h"
#include "tests/support/DisplayCheck.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/TempDir.h"

namespace {

// The test build of the program on the sample data, driven through a socket of its folder, full
// screen on an X server of its own (another test's window would take the screen from it).
class DriveHarnessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_DISPLAY();
        const char* binary = getenv("VD_BINARY_DIR");
        if (!binary)
            GTEST_SKIP() << "run through ctest";
        std::filesystem::create_directory_symlink(std::string(binary) + "/Data_full_Win32", m_dir.File("Data_full_Win32"));
        const std::string socketPath = m_dir.File("drive");
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        ASSERT_LT(socketPath.size(), sizeof address.sun_path);
        socketPath.copy(address.sun_path, socketPath.size());
        m_listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ASSERT_EQ(bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(listen(m_listener, 1), 0);
        if (PrivateDisplay::ServerInstalled()) {
            m_display = std::make_unique<PrivateDisplay>();
            ASSERT_FALSE(m_display->Name().empty());
        }
        m_child = fork();
        if (m_child == 0) {
            if (chdir(m_dir.Path().c_str()) != 0 || !freopen("stderr.txt", "w", stderr))
                _exit(97);
            if (m_display)
                setenv("DISPLAY", m_display->Name().c_str(), 1);
            setenv("VD_DRIVE", socketPath.c_str(), 1);
            setenv("VD_MODULE_3D", "4", 1);
            setenv("VD_HEADLESS", "1", 1);
            setenv("VD_FIXED_STEP", "1", 1);
            setenv("APPDATA", m_dir.Path().c_str(), 1);
            const std::string program = std::string(binary) + "/VadadiDazidevTest";
            execl(program.c_str(), program.c_str(), "driven", static_cast<char*>(nullptr));
            _exit(96);
        }
        m_socket = accept(m_listener, nullptr, nullptr);
        ASSERT_GE(m_socket, 0);
    }
    void TearDown() override
    {
        if (m_socket >= 0)
            close(m_socket);
        if (m_listener >= 0)
            close(m_listener);
        if (m_child > 0) {
            kill(m_child, SIGKILL);
            waitpid(m_child, nullptr, 0);
        }
    }
    // Sends one command and reads its one-line answer.
    std::string Command(const std::string& line)
    {
        const std::string text = line + "\n";
        if (write(m_socket, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            return "write failed";
        std::string answer;
        char c = 0;
        while (read(m_socket, &c, 1) == 1 && c != '\n')
            answer += c;
        return answer;
    }

    TempDir m_dir;
    std::unique_ptr<PrivateDisplay> m_display;
    int m_listener = -1;
    int m_socket = -1;
    pid_t m_child = -1;
};

} // namespace

TEST_F(DriveHarnessTest, FramesRunOneAStepInputIsQueuedAndShotsHoldThePresentedFrame)
{
    EXPECT_EQ(Command("step"), "ok 1");
    EXPECT_EQ(Command("step"), "ok 2");
    const std::string shot = m_dir.File("frame.png");
    EXPECT_EQ(Command("shot " + shot), "ok");
    EXPECT_FALSE(std::filesystem::exists(shot)) << "written with the next frame";
    for (const char* input : {"move 100 120", "down 100 120", "up 100 120", "wheel -1", "key 27", "text Ada"})
        EXPECT_EQ(Command(input), "ok") << input;
    EXPECT_EQ(Command("jump 1"), "error unknown command \"jump\"");
    EXPECT_EQ(Command("move 1"), "error cannot perform \"move 1\"");
    EXPECT_EQ(Command("step"), "ok 3");

    C3DTextureRaw picture(nullptr);
    ASSERT_EQ(picture.LoadFromFile(Utf8ToUtf16(shot).c_str()), RES_OK);
    EXPECT_EQ(picture.GetWidth(), 1024);
    EXPECT_EQ(picture.GetHeight(), 768);
    EXPECT_EQ(picture.Release(), RES_OK);
}

TEST_F(DriveHarnessTest, StateReportsTheGameAfterTheFramesRunAndReachesTheMainMenu)
{
    const std::string first = Command("state");
    for (const char* key : {"ok frame=0 ", " state=", " pending=", " page=-1 ", " scene=-1 ", " record=-1 ",
                            " scenestate=-1 ", " level=none ", " hints="})
        EXPECT_NE(first.find(key), std::string::npos) << key << " in " << first;
    EXPECT_EQ(first.find('\n'), std::string::npos);
    // The main menu comes after the intro screen's frames, its page with its buttons.
    std::string report;
    for (int frame = 0; frame < 600 && report.find(" state=10 ") == std::string::npos; ++frame) {
        ASSERT_EQ(Command("step"), "ok " + std::to_string(frame + 1));
        report = Command("state");
    }
    EXPECT_NE(report.find(" page=0 "), std::string::npos) << report;
    EXPECT_NE(report.find(" button=2,"), std::string::npos) << report;
    EXPECT_EQ(Command("state"), report) << "reading changes nothing";
}
