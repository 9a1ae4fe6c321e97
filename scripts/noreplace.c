/* Preloaded into the 32-bit Wine loader when it runs under qemu-i386.
 * qemu-user 7.2 treats MAP_FIXED_NOREPLACE as a mere hint and maps the block
 * elsewhere; Wine's address-space reservation then keeps retrying for tens of
 * seconds. Give the kernel's answer instead: when the block did not land at
 * the requested address, unmap it and fail with EEXIST.
 * Built without system headers (no 32-bit development files are needed). */
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
