// The profile: any bytes as the INI file. The link settings read from it are
// in range, with at most one note for each; written back, they read back as
// written and without a note, and every other entry keeps its value. A value
// written to the file reads back as written.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/fuzz_check.h"
#include "link/comm_settings.h"
#include "link/ini_file.h"
#include "link/link_context.h"
#include "model/file_io.h"
#include "model/settings_model.h"

namespace {

const char kSection[] = "Qelvar-32_Section";

// Each input's profile lives in a folder of its own, in memory where it can:
// the profile is written with fsync several times an input.
class CProfileFolder {
public:
    CProfileFolder() {
        const char* tmp = getenv("TMPDIR");
        const std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm"
                                 : tmp && *tmp                 ? tmp
                                                               : "/tmp";
        m_dir = base + "/qelvar-fuzz-XXXXXX";
        FUZZ_CHECK(mkdtemp(m_dir.data()) != nullptr);
        m_file = m_dir + "/Qelvar.ini";
    }
    ~CProfileFolder() {
        std::remove(m_file.c_str());
        rmdir(m_dir.c_str());
    }
    const std::string& File() const { return m_file; }

private:
    std::string m_dir, m_file;
};

CIniFile LoadIni(const std::string& path) {
    CIniFile ini;
    ini.Load(path);
    return ini;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider provider(data, size);
    const int port = provider.ConsumeIntegralInRange(0, kComPorts - 1);
    const int rs485 = provider.ConsumeIntegralInRange(0, 1);
    const int model = provider.ConsumeIntegralInRange(0, 1);
    std::string value = provider.ConsumeRandomLengthString(64);
    std::erase(value, '\n');
    const std::string text = provider.ConsumeRemainingBytesAsString();
    const CProfileFolder folder;
    const std::string& path = folder.File();

    FUZZ_CHECK(WriteFileAtomically(path, text) == WriteResult::kOk);
    Link().SetProfilePath(path);
    const CCommSettingsRead read = ReadCommSettings();
    FUZZ_CHECK(!read.fault);
    FUZZ_CHECK(read.notes.size() <= 3);
    FUZZ_CHECK(g_nComPort >= 0 && g_nComPort < kComPorts);
    FUZZ_CHECK(g_bRs485 == 0 || g_bRs485 == 1);
    FUZZ_CHECK(g_nModel == 0 || g_nModel == 1);
    FUZZ_CHECK(!CommPortPath().empty());

    const CIniFile original = LoadIni(path);
    g_nComPort = port;
    g_bRs485 = rs485;
    g_nModel = model;
    FUZZ_CHECK(!WriteCommSettings());
    FUZZ_CHECK(!WriteModelSetting());
    g_nComPort = g_bRs485 = g_nModel = -1;
    const CCommSettingsRead again = ReadCommSettings();
    FUZZ_CHECK(!again.fault && again.notes.empty());
    FUZZ_CHECK(g_nComPort == port && g_bRs485 == rs485 && g_nModel == model);
    const CIniFile written = LoadIni(path);
    for (const char* key : {"COM1", "COM6"}) {
        FUZZ_CHECK(written.GetString("Ports", key) == original.GetString("Ports", key));
    }

    CIniFile ini = written;
    ini.SetString("Ports", "COM1", value);
    FUZZ_CHECK(ini.GetString("Ports", "COM1") == value);
    FUZZ_CHECK(ini.Save(path).bOk);
    const CIniFile reread = LoadIni(path);
    FUZZ_CHECK(reread.GetString("Ports", "COM1") == value);
    FUZZ_CHECK(reread.GetInt(kSection, "com_port", -1) == port);
    return 0;
}
