// The stand-in tunnel client: run by the service manager it is the service "ryx"; run by
// hand it installs or removes itself.
#include <cstdio>

#include "base/bounded_text.h"
#include "tools/demo-client/demo_installer.h"
#include "tools/demo-client/demo_service.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: ryxc-demo install DIR | ryxc-demo uninstall\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 1) {
        return DemoService::run_as_service() ? 0 : 1;
    }
    if (argc == 3 && equals_ignoring_case(argv[1], "install")) {
        return install_demo(argv[2]) ? 0 : 1;
    }
    if (argc == 2 && equals_ignoring_case(argv[1], "uninstall")) {
        return uninstall_demo() ? 0 : 1;
    }
    return usage();
}
