#pragma once

#include "platform/services.h"

namespace tarvelin {

class ListWindows;
class OperationLog;
struct FocusedFile;

// Opening the focused file of a file list: the desktop opens every file, also a list document; the opening
// is logged; a list document ("*.kxd", exact case) opens in a list window besides.
class FileOpening {
public:
    FileOpening(Services services, OperationLog& log, ListWindows& lists);

    void open(const FocusedFile& file);

private:
    Services m_services;
    OperationLog& m_log;
    ListWindows& m_lists;
};

}  // namespace tarvelin
