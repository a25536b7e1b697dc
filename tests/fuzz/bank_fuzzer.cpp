// Feeds arbitrary bytes to the bank reader as a bank file. The reader must either fill the record
// or raise an archive error, and a record it did read must write out and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/archive.h"
#include "platform/archive_exception.h"
#include "presets/bank.h"
#include "tests/support/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemoryFile file(std::vector<unsigned char>(data, data + size));
    CArchive loading(file, CArchive::load);
    CBank bank;
    try {
        bank.Serialize(loading);
    } catch (const CArchiveException& e) {
        if (e.GetErrorMessage().IsEmpty())
            __builtin_trap();
        return 0;
    }
    if (file.GetPosition() > size)
        __builtin_trap();

    MemoryFile written;
    CArchive storing(written, CArchive::store);
    bank.Serialize(storing);
    storing.Close();

    MemoryFile again(written.bytes());
    CArchive reloading(again, CArchive::load);
    CBank back;
    back.Serialize(reloading);
    if (!(back == bank) || again.GetPosition() != written.bytes().size())
        __builtin_trap();
    return 0;
}
