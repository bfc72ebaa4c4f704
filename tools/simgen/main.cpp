// simgen: writes a generated simulator install, or registers one where the program looks for it.
//   simgen write FOLDER [--version N] [--files N] [--objects N] [--packed-every N] [--body BYTES]
//                       [--effects N] [--per-area N] [--broken-every N] [--addon FOLDER]
//                       [--seed N] [--full]
//   simgen register FOLDER --version N
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "SimGen.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

int Usage() {
    fputs(
        "usage: simgen write FOLDER [--version N] [--files N] [--objects N] [--packed-every N]\n"
        "                    [--body BYTES] [--effects N] [--per-area N] [--broken-every N]\n"
        "                    [--addon FOLDER] [--seed N] [--full]\n"
        "       simgen register FOLDER --version N\n",
        stderr);
    return 2;
}

// The folder as Windows programs see it: as given on Windows, on Wine's Z: drive elsewhere.
std::string WindowsFolder(const std::string& folder) {
#if defined(_WIN32)
    return folder;
#else
    std::string text = "Z:" + std::filesystem::absolute(folder).lexically_normal().string();
    for (char& c : text)
        if (c == '/')
            c = '\\';
    while (text.size() > 3 && text.back() == '\\')
        text.pop_back();
    return text;
#endif
}

// HKLM, the version's key and value, in the 32-bit view the simulators' installers wrote to.
int Register(const std::string& folder, int version) {
    const char* key = simgen::RegistryKey(version);
    if (!key)
        return Usage();
    std::string path = WindowsFolder(folder);
#if defined(_WIN32)
    HKEY opened = nullptr;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0,
                                  KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &opened, nullptr);
    if (status == ERROR_SUCCESS) {
        status = RegSetValueExA(opened, simgen::RegistryValue(version), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(path.c_str()),
                                static_cast<DWORD>(path.size() + 1));
        RegCloseKey(opened);
    }
    if (status != ERROR_SUCCESS) {
        fprintf(stderr, "simgen: cannot write HKLM\\%s (error %lX)\n", key, status);
        return 1;
    }
    return 0;
#else
    const char* wine = getenv("WINE64");
    std::string command = std::string("\"") + (wine ? wine : "wine64") + "\" reg add 'HKLM\\" +
                          key + "' /v '" + simgen::RegistryValue(version) + "' /d '" + path +
                          "' /f /reg:32";
    int status = system(command.c_str());
    if (status != 0)
        fprintf(stderr, "simgen: %s failed\n", command.c_str());
    return status == 0 ? 0 : 1;
#endif
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    std::string command = argv[1], folder = argv[2];
    simgen::Options options;
    for (int i = 3; i < argc; ++i) {
        std::string flag = argv[i];
        if (flag == "--full") {
            options.libraryFiles = 1000;
            options.objectsPerFile = 30;
            options.bodyBytes = 200 * 1024;
            options.effects = 40;
            continue;
        }
        if (i + 1 >= argc)
            return Usage();
        const char* value = argv[++i];
        if (flag == "--version")
            options.version = atoi(value);
        else if (flag == "--files")
            options.libraryFiles = atoi(value);
        else if (flag == "--objects")
            options.objectsPerFile = atoi(value);
        else if (flag == "--packed-every")
            options.packedEvery = atoi(value);
        else if (flag == "--body")
            options.bodyBytes = strtoul(value, nullptr, 10);
        else if (flag == "--effects")
            options.effects = atoi(value);
        else if (flag == "--per-area")
            options.filesPerArea = atoi(value);
        else if (flag == "--broken-every")
            options.brokenEvery = atoi(value);
        else if (flag == "--addon")
            options.addonFolder = WindowsFolder(value);
        else if (flag == "--seed")
            options.seed = static_cast<uint32_t>(strtoul(value, nullptr, 10));
        else
            return Usage();
    }
    if (command == "register")
        return Register(folder, options.version);
    if (command != "write")
        return Usage();
    simgen::Install install;
    std::string error;
    if (!simgen::Generate(folder, options, install, error)) {
        fprintf(stderr, "simgen: %s\n", error.c_str());
        return 1;
    }
    printf("%zu objects, %zu effects, %u index records in %s\n", install.objects.size(),
           install.effects.size(), install.qualifyingRecords, folder.c_str());
    return 0;
}
