#include "odbc/side_connection.h"

#include "odbc/data_sources.h"

SideConnection::SideConnection(OdbcBinding& binding, const std::string& dataSource, void* owner)
    : connection_(binding) {
    if (!connection_.ok())
        return;
    // The same data source and credentials as the explorer's connection.
    char text[kConnectionStringSize];
    ConnectionStringWriter writer(text, sizeof text);
    writer.put("DSN=");
    writer.value(dataSource.c_str());
    writer.put(";UID=");
    writer.value(odbcCredentials().user);
    writer.put(";PWD=");
    writer.value(odbcCredentials().password);
    SqlSmallInt length = 0;
    char out[1024];
    SqlReturn rc = writer.ok() ? binding.fn().SQLDriverConnect(
                                     connection_.get(), nullptr, reinterpret_cast<SqlChar*>(text), sql::kNts,
                                     reinterpret_cast<SqlChar*>(out), sizeof out, &length, sql::kDriverNoPrompt)
                               : sql::kError;
    wipeSecret(text, sizeof text);
    wipeSecret(out, sizeof out);
    connected_ = sql::succeeded(rc);
    if (!connected_)
        binding.reportError(nullptr, connection_.get(), nullptr, owner);
}
