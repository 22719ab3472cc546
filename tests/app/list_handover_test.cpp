#include "app/list_handover.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <future>

#include "platform/local_socket.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using Files = std::vector<std::string>;

// The second start blocks on its socket; the running program answers from this thread's event loop.
bool handOverFromAnotherThread(const QString& name, const Files& files, int timeoutMs = 5000) {
    auto result =
        std::async(std::launch::async, [&] { return handOverToRunningProgram(name, files, timeoutMs); });
    while (result.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return result.get();
}

struct ListHandoverTest : ::testing::Test {
    test::TempFolder dir;
    QString name = QString::fromStdString(dir.file("socket"));
};

TEST_F(ListHandoverTest, RunningProgramReceivesTheFilesExactly) {
    ListHandoverServer server;
    ASSERT_TRUE(server.listen(name));
    QSignalSpy received(&server, &ListHandoverServer::filesReceived);
    const Files batches[] = {
        {"/home/u/a.kxd", "/home/u/\x8e\x91\x97\xbf.kxd", "/tmp/with\nnewline.kxd"},
        {},
        {std::string(70000, 'x')},
    };
    for (const Files& files : batches) EXPECT_TRUE(handOverFromAnotherThread(name, files));
    ASSERT_EQ(received.count(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(received.at(i).at(0).value<Files>(), batches[i]) << i;
}

TEST_F(ListHandoverTest, WithoutARunningProgramTheStartGoesOn) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(handOverToRunningProgram(name, {"/a.kxd"}));
    EXPECT_LT(clock.elapsed(), 1000);
}

TEST_F(ListHandoverTest, TakesOverASocketLeftBehindButNotALiveOne) {
    // A program that ended without removing its socket leaves the file behind.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", dir.file("socket").c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(dir.exists("socket"));

    ListHandoverServer first;
    EXPECT_TRUE(first.listen(name));
    ListHandoverServer second;
    EXPECT_FALSE(second.listen(name)) << "the first program still answers";
    EXPECT_TRUE(handOverFromAnotherThread(name, {"/a.kxd"}));
}

// Nobody else may connect: the socket sits in a folder only its user enters, or is made for its user alone.
TEST_F(ListHandoverTest, OnlyItsUserCanReachTheSocket) {
    for (const mode_t folderMode : {0700u, 0755u, 0777u}) {
        const std::string folder = dir.file("f" + std::to_string(folderMode));
        ASSERT_EQ(::mkdir(folder.c_str(), folderMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), folderMode), 0);
        const QString socket = QString::fromStdString(folder + "/socket");
        ListHandoverServer server;
        ASSERT_TRUE(server.listen(socket)) << folderMode;
        struct stat st;
        ASSERT_EQ(::stat((folder + "/socket").c_str(), &st), 0) << folderMode;
        EXPECT_TRUE((folderMode & 077) == 0 || (st.st_mode & 077) == 0)
            << std::oct << folderMode << " " << st.st_mode;
        EXPECT_TRUE(handOverFromAnotherThread(socket, {"/a.kxd"})) << folderMode;
    }
}

TEST_F(ListHandoverTest, StrayBytesAreDroppedAndTheServerGoesOn) {
    ListHandoverServer server;
    ASSERT_TRUE(server.listen(name));
    QSignalSpy received(&server, &ListHandoverServer::filesReceived);
    const QByteArray strays[] = {
        QByteArray("\xff\xff\xff\xff", 4),  // a size past the bound
        QByteArray("\x00\x00\x00\x03"
                   "abc",
                   7),  // a body that is no list of paths
        QByteArray("\x00\x00\x00\x08\x00\x00\x10\x00"
                   "abcd",
                   12),  // a path longer than the body
    };
    for (const QByteArray& stray : strays) {
        const FileDescriptor socket = connectLocalSocket(dir.file("socket"), std::chrono::seconds(1));
        ASSERT_TRUE(socket.valid());
        ASSERT_TRUE(sendAll(socket.get(), stray.toStdString(), std::chrono::seconds(1)));
        // Dropped: the program closes the connection without an answer.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                char byte;
                return ::recv(socket.get(), &byte, 1, MSG_DONTWAIT) == 0;
            },
            2000))
            << stray.toHex().toStdString();
    }
    EXPECT_EQ(received.count(), 0);
    EXPECT_TRUE(handOverFromAnotherThread(name, {"/b.kxd"}));
    EXPECT_EQ(received.count(), 1);
}

// A message may come in pieces; the socket goes with the program, unless another file has taken its place.
TEST_F(ListHandoverTest, AMessageInPiecesIsTakenAndTheSocketGoesWithTheProgram) {
    {
        ListHandoverServer server;
        ASSERT_TRUE(server.listen(name));
        QSignalSpy received(&server, &ListHandoverServer::filesReceived);
        const FileDescriptor socket = connectLocalSocket(dir.file("socket"), std::chrono::seconds(1));
        ASSERT_TRUE(socket.valid());
        const std::string message("\x00\x00\x00\x0a\x00\x00\x00\x06/a.kx", 13);
        ASSERT_TRUE(sendAll(socket.get(), message.substr(0, 2), std::chrono::seconds(1)));
        QTest::qWait(20);
        ASSERT_TRUE(sendAll(socket.get(), message.substr(2) + "d", std::chrono::seconds(1)));
        EXPECT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, 2000));
        EXPECT_EQ(received.value(0).value(0).value<Files>(), Files{"/a.kxd"});
        EXPECT_EQ(receiveByte(socket.get(), std::chrono::seconds(1)), 'k');
    }
    EXPECT_FALSE(dir.exists("socket"));

    {
        ListHandoverServer server;
        ASSERT_TRUE(server.listen(name));
        ASSERT_EQ(::unlink(dir.file("socket").c_str()), 0);
        dir.write("socket", "another program's");
    }
    EXPECT_TRUE(dir.exists("socket"));
}

TEST(ListHandoverName, IsPerUserAndPerProgramFolder) {
    const QString a = handoverName("/home/u/.config/Tarvelin2/");
    EXPECT_EQ(a, handoverName("/home/u/.config/Tarvelin2/"));
    EXPECT_NE(a, handoverName("/opt/tarvelin2/"));
    EXPECT_TRUE(a.section(QLatin1Char('/'), -1).startsWith(QStringLiteral("tarvelin2-%1-").arg(::getuid())));
}

}  // namespace
}  // namespace tarvelin

namespace tarvelin {
namespace {

// Without a session runtime folder the socket still goes where only its user can reach it.
TEST(ListHandoverName, WithoutARuntimeFolderLiesInAFolderOfTheUsersOwn) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("XDG_RUNTIME_DIR");
    const QString name = handoverName("/opt/tarvelin2/");
    if (!runtime.isNull()) qputenv("XDG_RUNTIME_DIR", runtime);
    struct stat folder;
    ASSERT_EQ(::lstat(QFile::encodeName(QFileInfo(name).absolutePath()).constData(), &folder), 0)
        << name.toStdString();
    EXPECT_TRUE(S_ISDIR(folder.st_mode));
    EXPECT_EQ(folder.st_uid, ::getuid());
    EXPECT_EQ(folder.st_mode & 077, 0u);
}

}  // namespace
}  // namespace tarvelin
