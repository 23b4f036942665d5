#include "duplicate_finder.h"
#include "file_operations.h"
#include "lazy_library.h"
#include "test_support.h"
#include "trash_can.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>
#include <openssl/crypto.h>

namespace {

bool isMapped(const char* fileName)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(fileName);
}

} // namespace

TEST(LazyLibrary, OpensOnFirstUseAndSaysWhatIsMissing)
{
    // The command line starts without OpenSSL and GIO (the list is what the
    // dynamic loader would load, as ldd prints it).
    QProcess cli;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_TRACE_LOADED_OBJECTS"), QStringLiteral("1"));
    cli.setProcessEnvironment(environment);
    cli.start(QStringLiteral(QUORVANE_CLI_PATH), {});
    ASSERT_TRUE(cli.waitForFinished(30'000));
    const QByteArray loaded = cli.readAllStandardOutput();
    EXPECT_TRUE(loaded.contains("libQt6Core.so.6")) << loaded.constData();
    EXPECT_FALSE(loaded.contains("libcrypto.so.3")) << loaded.constData();
    EXPECT_FALSE(loaded.contains("libgio-2.0.so.0")) << loaded.constData();

    // They are loaded when first needed.

    TempTree tree;
    tree.file("a", "same");
    tree.file("b", "same");
    const DuplicateReport report =
        DuplicateFinder().report(FileOperations::scan(tree.root()).files);
    ASSERT_EQ(report.groups.size(), 1);
    EXPECT_EQ(report.groups.first().size(), 2);
    EXPECT_TRUE(isMapped("libcrypto.so.3"));
    TrashCan::canTrash(tree.path("a"));
    EXPECT_TRUE(isMapped("libgio-2.0.so.0"));

    LazyLibrary crypto("libcrypto.so.3");
    EXPECT_TRUE(crypto.error().isEmpty());
    const auto version = crypto.function<decltype(&OpenSSL_version_num)>("OpenSSL_version_num");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version() >> 28, OPENSSL_VERSION_NUMBER >> 28);
    EXPECT_EQ(crypto.function<void (*)()>("quorvane_no_such_function"), nullptr);
    EXPECT_TRUE(crypto.error().contains(u"libcrypto.so.3"));
    EXPECT_TRUE(crypto.error().contains(u"quorvane_no_such_function"));

    LazyLibrary missing("libquorvane-nowhere.so.0");
    EXPECT_EQ(missing.function<void (*)()>("anything"), nullptr);
    EXPECT_TRUE(missing.error().contains(u"libquorvane-nowhere.so.0"));
}
