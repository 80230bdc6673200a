#include "io/TechvFile.h"

#include <sys/stat.h>

#include <string>

#include "io/AtomicFile.h"

void LeaveTechvFile() {
    static constexpr const char* kName = "TECHV.TXT";
    struct stat st {};
    if (::stat(kName, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0) return;
    std::string strError;
    WriteWholeFile(kName, "", 0, strError);
}
