#include "Library.h"

#include "FileProxy.h"
#include "Global.h"
#include "platform/LineBreak.h"
#include "platform/ModalSeam.h"
#include "platform/RuntimeError.h"

#include <algorithm>
#include <utility>

namespace kivo {

namespace {

// The library file separates fields with TAB and entries with CR LF and has no
// escapes: a record holding one of these could not be read back.
bool fitsTheLibraryFile(const QString &text)
{
    return !text.contains(u'\t') && !text.contains(u'\r') && !text.contains(u'\n');
}

} // namespace

// The file layer sees the library with 0-based positions.
class Library::Persistent final : public IPersistToFile {
public:
    explicit Persistent(Library &library) : m_library(library) {}

    QString name() const override { return libraryFileBaseName(); }
    bool hasChanged() const override { return m_library.hasChanged(); }
    ModelPtr getModel(int location) const override
    {
        if (location < 0 || location >= m_library.getCount())
            return nullptr;
        return m_library.m_records[static_cast<std::size_t>(location)];
    }
    int count() const override { return m_library.getCount(); }
    void addModel(int, const ModelPtr &aModel) override { m_library.add(aModel); }
    void clear() override { m_library.clear(); }

private:
    Library &m_library;
};

Library::Library()
    : m_persistent(std::make_unique<Persistent>(*this))
{
}

Library::~Library() = default;

QString Library::keyOf(const QString &name)
{
    return name.toCaseFolded();
}

void Library::add(const ModelPtr &m)
{
    if (!m)
        return;
    if (!fitsTheLibraryFile(m->name()) || !fitsTheLibraryFile(m->path())) {
        msgBox(QStringLiteral("The name and the file path of a Sound Image cannot contain tabs or line breaks"));
        return;
    }
    const QString key = keyOf(m->name());
    if (m_byKey.contains(key)) {
        msgBox(QStringLiteral("Cannot have duplicate file names"));
        return;
    }
    m_byKey.insert(key, m);
    m_records.push_back(m);
    m_changed = true;
}

void Library::removeItem(const QString &strKey)
{
    const auto found = m_byKey.constFind(keyOf(strKey));
    if (found == m_byKey.cend()) {
        msgBox(QStringLiteral("File does not exist"));
        return;
    }
    m_records.erase(std::find(m_records.begin(), m_records.end(), found.value()));
    m_byKey.erase(found);
    m_changed = true;
}

bool Library::save()
{
    if (!m_changed)
        return false;
    forgetWriteFailure();
    if (saveToFile(persistent(), QString())) {
        // A folder that is there but full is told as the system tells it.
        const QString reason = lastWriteFailure();
        msgBox(QStringLiteral("Could not save Sound Image list file") + lineBreak()
               + (reason.isEmpty() ? QStringLiteral("Kivo Rudovaz Data Path does not exist") : reason));
        return true;
    }
    m_changed = false;
    return false;
}

void Library::restore(std::vector<ModelPtr> records)
{
    clear();
    for (const ModelPtr &m : records)
        m_byKey.insert(keyOf(m->name()), m);
    m_records = std::move(records);
}

ModelPtr Library::getModel(const QString &key) const
{
    const ModelPtr model = m_byKey.value(keyOf(key));
    if (!model)
        throw RuntimeError(ErrorNumber::InvalidArgument);
    return model;
}

ModelPtr Library::getModel(int position) const
{
    if (position < 1 || position > getCount())
        throw RuntimeError(ErrorNumber::InvalidArgument);
    return m_records[static_cast<std::size_t>(position - 1)];
}

QString Library::tagExist(qint32 tagValue) const
{
    const auto found = std::find_if(m_records.begin(), m_records.end(),
                                    [tagValue](const ModelPtr &m) { return m->tag() == tagValue; });
    return found == m_records.end() ? QString() : (*found)->name();
}

bool Library::nameExist(const QString &strName) const
{
    // Keys are unique without regard to case, so only the record under this key can
    // carry exactly this name.
    const ModelPtr model = m_byKey.value(keyOf(strName));
    return model && model->name() == strName;
}

IPersistToFile &Library::persistent() noexcept
{
    return *m_persistent;
}

const IPersistToFile &Library::persistent() const noexcept
{
    return *m_persistent;
}

void Library::clear()
{
    m_records.clear();
    m_byKey.clear();
}

} // namespace kivo
