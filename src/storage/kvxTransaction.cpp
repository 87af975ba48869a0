#include "kvxTransaction.h"

#include "kvxStreamFile.h"

TkvxTransaction::TkvxTransaction(TkvxStreamFile &file) : m_file(file.IsOpen() ? &file : nullptr) {
    if (m_file)
        m_file->BeginTransaction();
}

TkvxTransaction::~TkvxTransaction() {
    if (m_file)
        m_file->RollbackTransaction();
}

void TkvxTransaction::Commit() {
    TkvxStreamFile *file = m_file;
    m_file = nullptr;
    if (file)
        file->CommitTransaction();
}
