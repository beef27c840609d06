// A second connection to a data source with the credentials the explorer connected with, for
// statements that leave a connection unusable (OPTIMIZE and REPAIR on MySQL-family servers).
#pragma once

#include <string>

#include "odbc/odbc_binding.h"
#include "odbc/odbc_handles.h"

class SideConnection {
  public:
    // Connects to `dataSource`; ok() is false after a failed connect (the "ODBC error" box has
    // been shown, owned by `owner`). Disconnected and freed when the object goes.
    SideConnection(OdbcBinding& binding, const std::string& dataSource, void* owner);
    bool ok() const { return connected_; }
    SqlHdbc get() const { return connection_.get(); }

  private:
    OdbcConnection connection_;
    bool connected_ = false;
};
