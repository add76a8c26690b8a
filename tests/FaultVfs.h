#pragma once
#include <sqlite3.h>

#include <atomic>
#include <cstring>

// A VFS over the default one that fails the Nth write or sync from the moment
// it is armed, the way a full disk or a failing device would. Installed as
// the process's default VFS, so the code under test opens through it unaware.
class FaultVfs {
public:
    static FaultVfs& install()
    {
        static FaultVfs vfs;
        return vfs;
    }
    // Fail the nth write or sync from now on (1 = the next one); 0 disarms.
    // The failing write returns `code` (SQLITE_FULL for a full disk); with
    // `persist`, every write and sync after it fails too, as on a disk that
    // stays full or a device that has gone.
    void failAt(int nth, int code = SQLITE_IOERR_WRITE, bool persist = false)
    {
        m_failed = false;
        m_code = code;
        m_persist = persist;
        m_countdown = nth;
    }
    bool failed() const { return m_failed; }

private:
    FaultVfs()
    {
        m_base = sqlite3_vfs_find(nullptr);
        m_vfs = *m_base;
        m_vfs.zName = "harunire-fault";
        m_vfs.szOsFile = int(sizeof(File)) + m_base->szOsFile;
        m_vfs.pAppData = this;
        m_vfs.xOpen = &FaultVfs::open;
        sqlite3_vfs_register(&m_vfs, 1);
    }

    struct File {
        sqlite3_file base;        // our methods
        FaultVfs* owner;
        sqlite3_file* real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
    };

    bool shouldFail()
    {
        if (m_persist && m_failed) return true;
        if (m_countdown <= 0) return false;
        if (--m_countdown == 0) {
            m_failed = true;
            return true;
        }
        return false;
    }

    static File* f(sqlite3_file* p) { return reinterpret_cast<File*>(p); }

    static int open(sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags, int* outFlags)
    {
        auto* self = static_cast<FaultVfs*>(vfs->pAppData);
        File* ff = f(file);
        std::memset(ff, 0, sizeof(File));
        const int rc = self->m_base->xOpen(self->m_base, name, ff->real(), flags, outFlags);
        if (rc != SQLITE_OK) return rc;
        ff->owner = self;
        self->m_methods = *ff->real()->pMethods;
        self->m_methods.xClose = [](sqlite3_file* p) { return f(p)->real()->pMethods->xClose(f(p)->real()); };
        self->m_methods.xRead = [](sqlite3_file* p, void* b, int n, sqlite3_int64 o) {
            return f(p)->real()->pMethods->xRead(f(p)->real(), b, n, o);
        };
        self->m_methods.xWrite = [](sqlite3_file* p, const void* b, int n, sqlite3_int64 o) {
            if (f(p)->owner->shouldFail()) return f(p)->owner->m_code.load();
            return f(p)->real()->pMethods->xWrite(f(p)->real(), b, n, o);
        };
        self->m_methods.xTruncate = [](sqlite3_file* p, sqlite3_int64 s) {
            return f(p)->real()->pMethods->xTruncate(f(p)->real(), s);
        };
        self->m_methods.xSync = [](sqlite3_file* p, int fl) {
            if (f(p)->owner->shouldFail()) return SQLITE_IOERR_FSYNC;
            return f(p)->real()->pMethods->xSync(f(p)->real(), fl);
        };
        self->m_methods.xFileSize = [](sqlite3_file* p, sqlite3_int64* s) {
            return f(p)->real()->pMethods->xFileSize(f(p)->real(), s);
        };
        self->m_methods.xLock = [](sqlite3_file* p, int l) { return f(p)->real()->pMethods->xLock(f(p)->real(), l); };
        self->m_methods.xUnlock = [](sqlite3_file* p, int l) { return f(p)->real()->pMethods->xUnlock(f(p)->real(), l); };
        self->m_methods.xCheckReservedLock = [](sqlite3_file* p, int* r) {
            return f(p)->real()->pMethods->xCheckReservedLock(f(p)->real(), r);
        };
        self->m_methods.xFileControl = [](sqlite3_file* p, int op, void* a) {
            return f(p)->real()->pMethods->xFileControl(f(p)->real(), op, a);
        };
        self->m_methods.xSectorSize = [](sqlite3_file* p) { return f(p)->real()->pMethods->xSectorSize(f(p)->real()); };
        self->m_methods.xDeviceCharacteristics = [](sqlite3_file* p) {
            return f(p)->real()->pMethods->xDeviceCharacteristics(f(p)->real());
        };
        // Rollback-journal mode only: no shared memory or memory-mapped I/O.
        self->m_methods.iVersion = 1;
        ff->base.pMethods = &self->m_methods;
        return SQLITE_OK;
    }

    sqlite3_vfs* m_base = nullptr;
    sqlite3_vfs m_vfs{};
    sqlite3_io_methods m_methods{};
    std::atomic<int> m_countdown{0};
    std::atomic<bool> m_failed{false};
    std::atomic<int> m_code{SQLITE_IOERR_WRITE};
    std::atomic<bool> m_persist{false};
};
