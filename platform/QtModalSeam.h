#pragma once

#include "ModalSeam.h"

namespace kivo {

// The real dialogs: QMessageBox with the platform's button sets, and QDialog::exec().
class KIVORUNTIME_EXPORT QtModalSeam final : public ModalSeam {
public:
    Answer messageBox(const MessageRequest &request) override;
    int execDialog(QDialog &dialog) override;
};

} // namespace kivo
