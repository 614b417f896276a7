#include "EncodedFile.h"

#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>

namespace kivo::test {

namespace {

std::filesystem::path pathOf(const QByteArray &encodedPath)
{
    return std::filesystem::path(encodedPath.toStdString());
}

} // namespace

EncodedFile::EncodedFile(QByteArray encodedPath)
    : m_path(std::move(encodedPath))
{
}

EncodedFile::~EncodedFile()
{
    std::error_code error;
    std::filesystem::remove(pathOf(m_path), error);
}

bool EncodedFile::write(const QByteArray &content) const
{
    std::ofstream out(pathOf(m_path), std::ios::binary | std::ios::trunc);
    return out.write(content.constData(), content.size()) && out.flush();
}

bool EncodedFile::linkTo(const QByteArray &target) const
{
    std::error_code error;
    std::filesystem::create_symlink(pathOf(target), pathOf(m_path), error);
    return !error;
}

} // namespace kivo::test
