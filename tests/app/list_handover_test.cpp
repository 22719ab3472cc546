#include "app/list_handover.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <future>

#include "app/handover_message.h"
#include "platform/local_socket.h"
#include "support/child_process.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using Files = std::vector<std::string>;
using std::chrono::seconds;

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

// Nobody else may connect: the socket is made only in a folder its user alone may enter.
TEST_F(ListHandoverTest, OnlyItsUserCanReachTheSocket) {
    for (const mode_t folderMode : {0700u, 0755u, 0777u}) {
        const std::string folder = dir.file("f" + std::to_string(folderMode));
        ASSERT_EQ(::mkdir(folder.c_str(), folderMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), folderMode), 0);
        const QString socket = QString::fromStdString(folder + "/socket");
        ListHandoverServer server;
        ASSERT_EQ(server.listen(socket), folderMode == 0700) << folderMode;
        if (folderMode != 0700) continue;
        struct stat st;
        ASSERT_EQ(::stat((folder + "/socket").c_str(), &st), 0) << folderMode;
        EXPECT_TRUE((folderMode & 077) == 0 || (st.st_mode & 077) == 0)
            << std::oct << folderMode << " " << st.st_mode;
        EXPECT_TRUE(handOverFromAnotherThread(socket, {"/a.kxd"})) << folderMode;
    }
}

// Another user's program listening on the name is not told which lists a start opens.
TEST_F(ListHandoverTest, AListenerOfAnotherUserIsNotTold) {
    if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
    const FileDescriptor theirs = listenLocalSocket(dir.file("theirs"));
    ASSERT_EQ(test::runInChild([&] { return ::listen(theirs.get(), 4); }, 5, test::kNobody), 0);
    EXPECT_FALSE(handOverToRunningProgram(QString::fromStdString(dir.file("theirs")), {"/a.kxd"}, 300));
    EXPECT_EQ(receiveByte(FileDescriptor(::accept(theirs.get(), nullptr, nullptr)).get(), seconds(1)), -1);
}

// Starts that connect and never send a whole message neither crowd out a real one nor stay.
TEST_F(ListHandoverTest, IdleConnectionsAreCappedAndDroppedInTime) {
    ListHandoverServer server(nullptr, std::chrono::milliseconds(1000));
    ASSERT_TRUE(server.listen(name));
    std::vector<FileDescriptor> idle;
    for (int i = 0; i < 20; ++i) idle.push_back(connectLocalSocket(dir.file("socket"), seconds(1)));
    char byte;
    auto dropped = [&](const FileDescriptor& fd) { return ::recv(fd.get(), &byte, 1, MSG_DONTWAIT) == 0; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return dropped(idle[3]); }, 2000)) << "the oldest make room";
    for (size_t i = 0; i < idle.size(); ++i) EXPECT_EQ(dropped(idle[i]), i < 4) << i;
    EXPECT_TRUE(handOverFromAnotherThread(name, {"/a.kxd"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::all_of(idle.begin(), idle.end(), dropped); }, 3000));
}

// Out of descriptors, the program neither spins on the waiting start nor loses it.
TEST_F(ListHandoverTest, OutOfDescriptorsTheWaitingStartIsTakenLater) {
    ListHandoverServer server;
    ASSERT_TRUE(server.listen(name));
    // Served once first: the sanitizers need a descriptor the first time they check a type.
    EXPECT_TRUE(handOverFromAnotherThread(name, {"/a.kxd"}));
    const FileDescriptor start = connectLocalSocket(dir.file("socket"), seconds(1));
    ASSERT_TRUE(sendAll(start.get(), encodeHandoverMessage({"/a.kxd"}), seconds(1)));
    rlimit limits;
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &limits), 0);
    // Every descriptor below the limit in use, but few enough for the event loop's poll.
    const rlimit full{static_cast<rlim_t>(FileDescriptor(::dup(0)).get()), limits.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &full), 0);
    int rounds = 0;
    bool waited = false;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &server,
                     [&] { ++rounds; });
    QTimer::singleShot(400, &server, [&] { waited = true; });
    while (!waited) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    ::setrlimit(RLIMIT_NOFILE, &limits);
    EXPECT_LT(rounds, 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return receiveByte(start.get(), seconds(0)) == 'k'; }, 2000));
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

// The socket's folder is trusted only when it is this user's alone: no link, the user's own, mode 0700.
TEST(ListHandoverName, LiesOnlyInAFolderOfTheUsersOwn) {
    if (::geteuid() != 0) GTEST_SKIP() << "making another user's folder needs root";
    const test::TempFolder dir;
    // How a folder is made: '-' not at all, 'p' private, 'o' open to others, 'n' nobody's, 'l' a link.
    const auto make = [&](const std::string& path, char how) {
        if (how == 'l') return ::symlink(dir.path().c_str(), path.c_str()) == 0;
        return how == '-' || (::mkdir(path.c_str(), how == 'o' ? 0755 : 0700) == 0 &&
                              ::chown(path.c_str(), how == 'n' ? test::kNobody : 0, 0) == 0);
    };
    // The runtime folder and the one in the temporary folder as made; where the socket goes: 0 the runtime
    // folder, 1 the one in the temporary folder, 2 nowhere.
    const std::pair<std::string, int> cases[] = {{"p-", 0}, {"o-", 1}, {"n-", 1}, {"l-", 1}, {"--", 1},
                                                 {"-p", 1}, {"-o", 2}, {"-n", 2}, {"-l", 2}};
    for (const auto& [made, where] : cases) {
        const std::string temp = dir.file(made), run = temp + "/run", own = temp + "/tarvelin2-0";
        EXPECT_TRUE(make(temp, 'p') && make(run, made[0]) && make(own, made[1]));
        const QString name = handoverName("/opt/tarvelin2/", made[0] == '-' ? "" : run, temp);
        const std::string places[] = {run, own, ""};
        EXPECT_EQ(name.isEmpty() ? "" : QFileInfo(name).path().toStdString(), places[where]) << made;
    }
}

}  // namespace
}  // namespace tarvelin
