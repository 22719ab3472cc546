#pragma once

namespace tarvelin {

// A window the main window asks before the program ends. Returning false keeps the program open.
class CloseQuery {
public:
    virtual ~CloseQuery() = default;
    virtual bool FormCloseQuery() = 0;
};

}  // namespace tarvelin
