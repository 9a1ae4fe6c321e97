/* Preloaded into the 32-bit Wine loader when it runs under qemu-i386
 * (scripts/wine-run). Built without system headers: no 32-bit development
 * files are needed.
 *
 * qemu-user 7.2 treats MAP_FIXED_NOREPLACE as a mere hint and maps the block
 * elsewhere; Wine's address-space reservation then keeps retrying for tens of
 * seconds. Give the kernel's answer instead: when the block did not land at
 * the requested address, unmap it and fail with EEXIST.
 *
 * A 32-bit program that starts another one executes the 32-bit loader, which
 * a host without 32-bit support refuses; that loader is started through the
 * script named by QEV_EMULATED_LOADER instead, which emulates it too. */
typedef unsigned int size_t;
typedef long off_t;
typedef long long off64_t;

#define MAP_FIXED_NOREPLACE 0x100000
#define MAP_FAILED ((void *)-1)
#define EEXIST 17
#define RTLD_NEXT ((void *)-1l)

extern void *dlsym(void *handle, const char *name);
extern int munmap(void *addr, size_t length);
extern int *__errno_location(void);
extern char *getenv(const char *name);
extern int strcmp(const char *a, const char *b);

static void *checked(void *wanted, void *got, size_t length, int flags) {
    if ((flags & MAP_FIXED_NOREPLACE) && got != MAP_FAILED && got != wanted) {
        munmap(got, length);
        *__errno_location() = EEXIST;
        return MAP_FAILED;
    }
    return got;
}

void *mmap(void *addr, size_t length, int prot, int flags, int fd, off_t offset) {
    static void *(*real)(void *, size_t, int, int, int, off_t);
    if (!real)
        real = (void *(*)(void *, size_t, int, int, int, off_t))dlsym(RTLD_NEXT, "mmap");
    return checked(addr, real(addr, length, prot, flags, fd, offset), length, flags);
}

void *mmap64(void *addr, size_t length, int prot, int flags, int fd, off64_t offset) {
    static void *(*real)(void *, size_t, int, int, int, off64_t);
    if (!real)
        real = (void *(*)(void *, size_t, int, int, int, off64_t))dlsym(RTLD_NEXT, "mmap64");
    return checked(addr, real(addr, length, prot, flags, fd, offset), length, flags);
}

static const char *loader_path(const char *path) {
    const char *emulated = getenv("QEV_EMULATED_LOADER");
    return emulated && strcmp(path, "/usr/lib/wine/wine") == 0 ? emulated : path;
}

int execv(const char *path, char *const argv[]) {
    static int (*real)(const char *, char *const[]);
    if (!real) real = (int (*)(const char *, char *const[]))dlsym(RTLD_NEXT, "execv");
    return real(loader_path(path), argv);
}

int execve(const char *path, char *const argv[], char *const envp[]) {
    static int (*real)(const char *, char *const[], char *const[]);
    if (!real) real = (int (*)(const char *, char *const[], char *const[]))dlsym(RTLD_NEXT, "execve");
    return real(loader_path(path), argv, envp);
}
