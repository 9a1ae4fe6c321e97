/* Forced into the widl-generated proxy files (-include): with PROXY_DELEGATION
 * their vtables name the IUnknown proxy methods that rpcrt4 exports, but the
 * mingw-w64 headers do not declare them. Plain struct types keep this file
 * free of includes, so the generated file's own #defines still come first. */
struct IUnknown;
struct _GUID;
long __stdcall IUnknown_QueryInterface_Proxy(struct IUnknown *This, const struct _GUID *riid, void **ppvObject);
unsigned long __stdcall IUnknown_AddRef_Proxy(struct IUnknown *This);
unsigned long __stdcall IUnknown_Release_Proxy(struct IUnknown *This);
