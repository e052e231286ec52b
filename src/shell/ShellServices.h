#pragma once
// What the About and Options windows need from the program, handed to them when they are made
// (and again when the program changes it), so that they work under any parent.

#include "shell/MakerWeb.h"

namespace zfw {

class IHttpGet;
class IUrlOpener;

struct ShellServices {
    MakerWebServer web = defaultMakerWebServer();  // where the version check asks, the links lead
    IHttpGet* http = nullptr;         // client of the version check, not owned; null: none sent
    IUrlOpener* urlOpener = nullptr;  // not owned; null: the URL opener of services()
};

// The URL opener of shell: its own, else the one of services().
IUrlOpener& urlOpenerOf(const ShellServices& shell);

}  // namespace zfw
