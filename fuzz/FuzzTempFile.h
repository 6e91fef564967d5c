#ifndef VESK_FUZZ_FUZZTEMPFILE_H
#define VESK_FUZZ_FUZZTEMPFILE_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// One scratch file per fuzzing process, rewritten with every input: the code
// under test reads files by path, as the game does.
class FuzzTempFile
{
public:
    explicit FuzzTempFile(const char* stem)
    {
        const char* dir = std::getenv("TMPDIR");
        m_path = std::string(dir && *dir ? dir : "/tmp") + "/" + stem + "-XXXXXX";
        const int fd = mkstemp(&m_path[0]);
        if (fd < 0) {
            std::perror("mkstemp");
            std::abort();
        }
        close(fd);
    }
    ~FuzzTempFile() { unlink(m_path.c_str()); }
    FuzzTempFile(const FuzzTempFile&) = delete;
    FuzzTempFile& operator=(const FuzzTempFile&) = delete;

    // Replaces the file's contents; aborts if the disk refuses, since a short
    // file would make every later finding meaningless.
    void Write(const uint8_t* data, size_t size) const
    {
        FILE* file = std::fopen(m_path.c_str(), "wb");
        if (!file || (size && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
            std::perror(m_path.c_str());
            std::abort();
        }
    }

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

#endif
