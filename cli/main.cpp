#include "command_registry.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

char** givenArguments = nullptr;

// The index and media commands live in a sibling program, so that the
// libraries they need (the index client, FFmpeg, the image readers) are not
// loaded for every copy or scan: this program starts in a tenth of the time.
int handOn(const QString&, const Arguments&)
{
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::fprintf(stderr, "quorvane-cli: can't find where this program lives\n");
        return 1;
    }
    QByteArray sibling(self, length);
    sibling = sibling.left(sibling.lastIndexOf('/') + 1) + "quorvane-cli-discovery";
    ::execv(sibling.constData(), givenArguments);
    std::fprintf(stderr, "quorvane-cli: can't run %s: %s\n", sibling.constData(),
                 std::strerror(errno));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    givenArguments = argv;
    return runProgram(
        argc, argv, [](CommandRegistry& registry) { registerDiscoveryCommands(registry, handOn); });
}
