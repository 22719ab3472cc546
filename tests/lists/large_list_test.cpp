#include <gtest/gtest.h>
#include <malloc.h>
#include <pthread.h>

#include <filesystem>
#include <functional>
#include <string>

#include "lists/icon_rules.h"
#include "lists/list_document.h"
#include "support/temp_folder.h"

namespace tarvelin {
namespace {

using test::TempFolder;

// Runs job on a thread with a small stack, so that recursion as deep as the tree would overflow it.
void runOnSmallStack(const std::function<void()>& job, size_t stackBytes) {
    pthread_attr_t attr;
    ASSERT_EQ(pthread_attr_init(&attr), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, stackBytes), 0);
    pthread_t thread;
    const auto entry = [](void* arg) -> void* {
        (*static_cast<const std::function<void()>*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attr, entry, const_cast<std::function<void()>*>(&job)), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
}

TEST(LargeList, AMillionLevelsDeep) {
    constexpr size_t kDepth = 1'000'000;
    const TempFolder folder;
    {
        ListDocument document;
        NodeId node = kNoNode;
        for (size_t i = 0; i < kDepth; ++i)
            node = document.tree.addChild(node, i % 2 ? "/nowhere" : "binder");
        EXPECT_EQ(document.tree.level(node), kDepth - 1);
        EXPECT_EQ(document.tree.absoluteIndex(node), kDepth - 1);
        EXPECT_EQ(document.tree.nodeAt(kDepth - 1), node);

        assignIconsOnOpening(document.tree);
        EXPECT_EQ(document.tree.icon(document.tree.first()), 0);
        EXPECT_EQ(document.tree.icon(document.tree.nodeAt(2)), 1);  // a binder with a child
        EXPECT_EQ(document.tree.icon(node), 22);
        assignIconsSimple(document.tree);
        EXPECT_EQ(document.tree.icon(node), 1);
        document.tree.expand(document.tree.first(), true);
        EXPECT_TRUE(document.tree.isExpanded(node));
        document.tree.collapse(document.tree.first(), true);
        EXPECT_FALSE(document.tree.isExpanded(node));

        // Its file would need half a terabyte of tabs and could never be read back: refused, nothing written.
        try {
            writeListDocument(document, folder.file("deep.kxd"));
            ADD_FAILURE() << "no error";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()), "ファイル " + folder.file("deep.kxd") + " を作成できません");
        }
        EXPECT_FALSE(folder.exists("deep.kxd"));

        document.tree.remove(document.tree.nodeAt(kDepth / 2));
        EXPECT_EQ(document.tree.size(), kDepth / 2);
    }  // and destroyed
}

TEST(LargeList, ADeepFileOnASmallStack) {
    // As deep as a test file can cheaply be (each line one tab deeper: 72 MB); on a 256 KiB stack any
    // recursion per level would overflow long before the bottom.
    constexpr size_t kDepth = 12'000;
    const TempFolder folder;
    {
        std::string bytes;
        bytes.reserve(kDepth * (kDepth + 4) / 2 + kDepth * 4);
        for (size_t i = 0; i < kDepth; ++i) {
            bytes.append(i, '\t');
            bytes += "n\r\n";
        }
        folder.write("deep.kxd", bytes);
    }
    size_t nodes = 0, level = 0;
    int lastIcon = -1;
    bool sameBytes = false;
    runOnSmallStack(
        [&] {
            ListDocument document;
            readListDocument(document, folder.file("deep.kxd"));
            assignIconsOnOpening(document.tree);
            assignIconsSimple(document.tree);
            writeListDocument(document, folder.file("copy.kxd"));
            nodes = document.tree.size();
            const NodeId last = document.tree.nodeAt(nodes - 1);
            level = document.tree.level(last);
            lastIcon = document.tree.icon(last);
            sameBytes = folder.read("copy.kxd") == folder.read("deep.kxd");
        },
        256 * 1024);
    EXPECT_EQ(nodes, kDepth);
    EXPECT_EQ(level, kDepth - 1);
    EXPECT_EQ(lastIcon, 1);
    EXPECT_TRUE(sameBytes);
}

TEST(LargeList, TooManyLinesAreRefusedBeforeTheTreeIsTouched) {
    // Line ends alone cost a node each: 64 bytes of tree a byte of file.
    const TempFolder folder;
    folder.write("ends.kxd", std::string(kMaxListNodes + 1, '\n'));
    ListDocument document;
    document.encoding = Encoding::Cp932;
    document.tree.addChild(kNoNode, "kept");
    try {
        readListDocument(document, folder.file("ends.kxd"));
        ADD_FAILURE() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル " + folder.file("ends.kxd") + " は大きすぎて開けません");
    }
    EXPECT_EQ(document.tree.size(), 1u);
    EXPECT_EQ(document.tree.text(document.tree.first()), "kept");
    EXPECT_EQ(document.encoding, Encoding::Cp932);

    folder.write("ends.kxd", std::string(kMaxListNodes, '\n'));
    readListDocument(document, folder.file("ends.kxd"));
    EXPECT_EQ(document.tree.size(), kMaxListNodes);
}

TEST(LargeList, ACp932ListJustUnderTheLimitSavesAndOneOverIsRefused) {
    // 255 MiB of CP932 is about 380 MiB as UTF-8: the limit holds for the bytes written, not for the text.
    const TempFolder folder;
    // Paths as users' lists hold them, with a Japanese folder name (資料) in each.
    const std::string line =
        "\t\t/home/user/\x8E\x91\x97\xBF/projects/2024/quarterly/figures/report-000000-final.xls\r\n";
    std::string bytes = "R\r\n\t\x8E\x91\x97\xBF\r\n";
    while (bytes.size() + line.size() <= (size_t{255} << 20)) bytes += line;
    folder.write("big.kxd", bytes);
    {
        ListDocument document;
        readListDocument(document, folder.file("big.kxd"));
        ASSERT_EQ(document.encoding, Encoding::Cp932);
        writeListDocument(document, folder.file("copy.kxd"));
        EXPECT_TRUE(folder.read("copy.kxd") == bytes);

        document.tree.addChild(document.tree.first(), std::string(size_t{2} << 20, 'x'));
        try {
            writeListDocument(document, folder.file("copy.kxd"));
            ADD_FAILURE() << "no error";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()), "ファイル " + folder.file("copy.kxd") + " を作成できません");
        }
    }
    EXPECT_TRUE(folder.read("copy.kxd") == bytes);
}

TEST(LargeList, MemoryOfAHundredThousandNodes) {
    // Paths of real length under eight levels, as users' lists have them.
    constexpr size_t kNodes = 100'000;
    std::string bytes;
    for (size_t i = 0; i < kNodes; ++i) {
        const size_t level = i == 0 ? 0 : 1 + (i - 1) % 7;
        bytes.append(level, '\t');
        bytes += level < 7 ? "binder " + std::to_string(i)
                           : "/home/user/projects/2024/report-" + std::to_string(i) + "/figure.jpg";
        bytes += "\r\n";
    }
    const DecodedText decoded = decodeListBytes(bytes);
    ListTree tree;
    const struct mallinfo2 before = mallinfo2();
    const bool built = buildListTree(decoded.text, tree);
    const struct mallinfo2 after = mallinfo2();
    ASSERT_TRUE(built);
    ASSERT_EQ(tree.size(), kNodes);
    const double used =
        static_cast<double>((after.uordblks + after.hblkhd) - (before.uordblks + before.hblkhd));
    const double budget = 2.5 * static_cast<double>(bytes.size()) + 64.0 * kNodes;
    EXPECT_LE(used, budget) << "file " << bytes.size() << " bytes";
    RecordProperty("tree_bytes", std::to_string(static_cast<size_t>(used)));
}

}  // namespace
}  // namespace tarvelin
