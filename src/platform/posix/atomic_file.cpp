#include "platform/posix/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vistrel {

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : m_target(std::move(targetPath))
{
    std::string pattern = m_target + ".tmp-XXXXXX";
    int fd = mkstemp(pattern.data());
    if (fd < 0) {
        m_error = std::strerror(errno);
        m_failed = true;
        return;
    }
    // mkstemp makes the file 0600; give the new file the usual mode, like a plain create.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    m_file = fdopen(fd, "wb");
    if (!m_file) {
        m_error = std::strerror(errno);
        close(fd);
        unlink(pattern.c_str());
        m_failed = true;
        return;
    }
    m_tempPath = pattern;
}

AtomicFileWriter::~AtomicFileWriter()
{
    if (m_file)
        std::fclose(m_file);
    if (!m_tempPath.empty())
        unlink(m_tempPath.c_str());
}

bool AtomicFileWriter::Write(std::span<const uint8_t> bytes)
{
    if (!m_file || m_failed)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        m_error = std::strerror(errno);
        m_failed = true;
    }
    return !m_failed;
}

bool AtomicFileWriter::Commit()
{
    if (!m_file || m_failed)
        return false;
    bool ok = std::fflush(m_file) == 0 && !std::ferror(m_file) && fsync(fileno(m_file)) == 0;
    if (!ok)
        m_error = std::strerror(errno);
    ok = (std::fclose(m_file) == 0) && ok;
    m_file = nullptr;
    if (ok && std::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
        m_error = std::strerror(errno);
        ok = false;
    }
    if (ok)
        m_tempPath.clear();
    m_failed = !ok;
    return ok;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error)
{
    AtomicFileWriter writer(path);
    bool ok = writer.Write(bytes) && writer.Commit();
    if (!ok && error)
        *error = writer.error();
    return ok;
}

} // namespace vistrel
