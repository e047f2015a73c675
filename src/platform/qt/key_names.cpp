#include "platform/qt/key_names.h"

#include "i18n/hotkey_text.h"

#include <QKeySequence>

namespace vistrel {

std::string NativeKeyName(uint32_t virtualKey, bool extended)
{
    const std::string portable = FallbackKeyName(virtualKey, extended);
    if (portable.empty())
        return {};
    // The toolkit knows the portable names and says them the desktop's way;
    // a name it does not know stays as it is.
    const QKeySequence sequence = QKeySequence::fromString(QString::fromStdString(portable), QKeySequence::PortableText);
    const QString native = sequence.toString(QKeySequence::NativeText);
    return native.isEmpty() ? portable : native.toStdString();
}

} // namespace vistrel
