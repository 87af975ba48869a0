#pragma once

class TkvxStreamFile;

// One change of a container made of several writes and deletes: they reach
// the file together at Commit, in one flush of the journal and one of the
// file, or not at all. Until then the file is untouched and reads through
// the container see the changes. Destroyed without Commit (an error left
// the scope), the changes are dropped. Begun inside another transaction it
// joins it: only the outermost commits, and a failure anywhere undoes the
// whole. Does nothing on a closed container.
//
//     TkvxTransaction transaction(database);
//     ... saves ...
//     transaction.Commit();
class TkvxTransaction {
public:
    explicit TkvxTransaction(TkvxStreamFile &file);
    ~TkvxTransaction();
    TkvxTransaction(const TkvxTransaction &) = delete;
    TkvxTransaction &operator=(const TkvxTransaction &) = delete;

    // A failing commit leaves the file as before; the error propagates.
    void Commit();

private:
    TkvxStreamFile *m_file; // null once ended, or when nothing was begun
};
