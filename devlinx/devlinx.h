/*
 * devlinx: the device access library of the Kovantis keyboard program.
 *
 * A small C ABI that the program loads at run time with dlopen("libdevlinx.so") and binds
 * export by export with dlsym. Every integer argument is 32 bits wide. Each call that names a
 * collection carries a check computed over its argument blocks (see devlinx_call_check below);
 * the library recomputes it and refuses a call whose check is wrong.
 *
 * Backends are chosen by DEVLINX_BACKEND: "hidraw" (default, the real keyboard) or "virtual"
 * (kovantis-vkbd over a SOCK_SEQPACKET socket at DEVLINX_VIRTUAL_SOCKET).
 */
#ifndef DEVLINX_H
#define DEVLINX_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(DEVLINX_BUILDING_LIBRARY)
#define DEVLINX_EXPORT __attribute__((visibility("default")))
#else
#define DEVLINX_EXPORT
#endif

/* Which collection of which device a call is about. 16 bytes, little-endian on the wire of the
 * call check: match mask (always 15), vendor id, product id, usage page, usage, 4 zero bytes. */
typedef struct DeviceSelector {
    uint32_t match_mask;
    uint16_t vendor_id;
    uint16_t product_id;
    uint16_t usage_page;
    uint16_t usage;
    uint8_t reserved[4];
} DeviceSelector;

#ifdef __cplusplus
static_assert(sizeof(DeviceSelector) == 16, "DeviceSelector is 16 bytes");
#else
_Static_assert(sizeof(DeviceSelector) == 16, "DeviceSelector is 16 bytes");
#endif

#define DEVLINX_MATCH_ALL 15u

/* The keyboard's three HID collections. */
#define DEVLINX_PAGE_COMMAND 0xFF1Cu
#define DEVLINX_USAGE_COMMAND 0x0092u
#define DEVLINX_PAGE_CONSUMER 0x000Cu
#define DEVLINX_USAGE_CONSUMER 0x0001u
#define DEVLINX_PAGE_STATUS 0x0008u
#define DEVLINX_USAGE_STATUS 0x0089u

/* Default USB ids; KOVANTIS_USB_ID=vvvv:pppp (hex) overrides them in library and program. */
#define DEVLINX_DEFAULT_VENDOR_ID 0x3A7Cu
#define DEVLINX_DEFAULT_PRODUCT_ID 0x09A1u

/* Registration tags: a short name packed with its first letter in the highest used byte. */
#define DEVLINX_TAG_CONS 0x434F4E53u /* "CONS" consumer events */
#define DEVLINX_TAG_CTRL 0x4354524Cu /* "CTRL" command replies */
#define DEVLINX_TAG_LED 0x004C4544u  /* "LED"  status output */

#define DEVLINX_NOTIFY_COUNT 0  /* the number of matching devices changed */
#define DEVLINX_NOTIFY_REPORT 1 /* a report arrived on a registered collection */

/* One notification, valid only for the duration of the callback. */
typedef struct DevlinxNotification {
    int32_t kind;           /* DEVLINX_NOTIFY_COUNT or DEVLINX_NOTIFY_REPORT */
    uint32_t tag;           /* the tag given at registration */
    int32_t count;          /* kind 0: the new device count */
    const uint8_t *report;  /* kind 1: the report bytes (without a report id prefix of the link) */
    int32_t length;         /* kind 1: number of bytes at report */
    uint16_t event_code;    /* kind 1 on "CONS": the 16-bit consumer event code */
    uint16_t reserved;
} DevlinxNotification;

/* Runs on a library thread; returns 1. */
typedef int32_t (*DevlinxCallback)(const DevlinxNotification *notification);

/* The twelve exports. Results greater than 0 mean success unless noted; -1 means the call was
 * refused and did nothing (wrong check, a null pointer, a length outside 0..4096, a non-zero
 * "zero" argument, a command report that is not 64 bytes); 0 means it was valid but nothing
 * could be done (library not initialised, no matching device, the link did not take the whole
 * report, the backend has no such request).
 *
 * Init(flags)                 starts the backend (DEVLINX_BACKEND) and finds the devices present
 *                             now before it returns; 1, or 0 when the backend cannot run. Once
 *                             started, further calls return 1 and do nothing. The USB ids are
 *                             read here: KOVANTIS_USB_ID=vvvv:pppp (hex), else the defaults.
 * End()                       stops the backend's threads and drops every registration; Init may
 *                             start again afterwards. -1 when called from inside a callback.
 * Debug(level)                level > 0 writes diagnostics to standard error (also DEVLINX_DEBUG).
 * RequestGetDeviceCount       matching devices on the selector's collection; 0 when the selector's
 *                             ids are not the keyboard's or its usage is none of the three.
 * RequestWriteOne, RequestWrite
 *                             one report to the selector's collection: 1 when all of it was sent.
 * RequestAsyncRead            registers `callback` for the selector's collection; fills *unit_id
 *                             with a new positive id, unique for the life of the process; 1.
 * RequestStatusWrite          sends `data` (when length > 0 and a device is there) to the
 *                             selector's collection, then registers as RequestAsyncRead does.
 * DeleteRequestFromUnitId     ends a registration: 1, or 0 for 0 and unknown ids.
 * DeleteRequestFromHandle     0 (there are no handles).
 * RequestStatusGet / RequestStatusSetFeature
 *                             feature reports (hidraw only): bytes moved, 0 when not supported.
 *
 * Notifications. Every registration on a collection hears:
 *  - kind DEVLINX_NOTIFY_COUNT with the new count whenever that collection's device count
 *    changes (0 -> 1 on arrival, 1 -> 0 on removal); never for an unchanged count and never on
 *    registering. The counts of all three collections are stored before any callback about the
 *    change runs, so RequestGetDeviceCount inside it already answers the new values.
 *  - kind DEVLINX_NOTIFY_REPORT for each report that arrives on the collection, with the
 *    registration's tag. Command replies are the 64 bytes as the keyboard sent them (report id
 *    0x04 first). Consumer reports carry the event code in event_code (the report's two code
 *    bytes, little-endian); event_code is 0 on the other collections.
 * Callbacks run on library threads with no library lock held. Virtual link: one thread delivers
 * everything, in the order the keyboard sent it. hidraw: the udev thread delivers count changes,
 * one reader thread per device node delivers that node's reports in order; callbacks for
 * different nodes may run at the same time. A callback may call RequestWriteOne,
 * RequestStatusWrite, RequestAsyncRead, DeleteRequestFromUnitId and RequestGetDeviceCount. It
 * must not wait for another notification (the same thread delivers it); End is refused there.
 * After DeleteRequestFromUnitId returns, a notification already on its way on another thread may
 * still reach the deleted registration once; nothing after that. */
DEVLINX_EXPORT int32_t Debug(int32_t level);
DEVLINX_EXPORT int32_t Init(int32_t flags);
DEVLINX_EXPORT int32_t End(void);
DEVLINX_EXPORT int32_t RequestGetDeviceCount(const DeviceSelector *selector, int32_t zero1,
                                             int32_t zero2, uint32_t check, int32_t zero3);
DEVLINX_EXPORT int32_t DeleteRequestFromUnitId(int32_t unit_id);
DEVLINX_EXPORT int32_t DeleteRequestFromHandle(int32_t handle);
DEVLINX_EXPORT int32_t RequestWrite(const DeviceSelector *selector, int32_t zero1, int32_t zero2,
                                    const uint8_t *report, int32_t length, uint32_t check,
                                    int32_t zero3);
DEVLINX_EXPORT int32_t RequestWriteOne(const DeviceSelector *selector, int32_t zero1,
                                       int32_t zero2, const uint8_t *report, int32_t length,
                                       uint32_t check, int32_t zero3);
DEVLINX_EXPORT int32_t RequestStatusWrite(const DeviceSelector *selector, DevlinxCallback callback,
                                          uint32_t tag, const uint8_t *data, int32_t length,
                                          uint32_t check, int32_t *unit_id);
DEVLINX_EXPORT int32_t RequestStatusGet(const DeviceSelector *selector, uint8_t *data,
                                        int32_t length, uint32_t check);
DEVLINX_EXPORT int32_t RequestAsyncRead(const DeviceSelector *selector, DevlinxCallback callback,
                                        uint32_t tag, uint32_t check, int32_t *unit_id);
DEVLINX_EXPORT int32_t RequestStatusSetFeature(const DeviceSelector *selector,
                                               const uint8_t *data, int32_t length,
                                               uint32_t check);

/* Function pointer types of the exports, for dlsym binding and for fake tables in tests. */
typedef int32_t (*DevlinxDebugFn)(int32_t);
typedef int32_t (*DevlinxInitFn)(int32_t);
typedef int32_t (*DevlinxEndFn)(void);
typedef int32_t (*DevlinxRequestGetDeviceCountFn)(const DeviceSelector *, int32_t, int32_t,
                                                  uint32_t, int32_t);
typedef int32_t (*DevlinxDeleteRequestFromUnitIdFn)(int32_t);
typedef int32_t (*DevlinxDeleteRequestFromHandleFn)(int32_t);
typedef int32_t (*DevlinxRequestWriteFn)(const DeviceSelector *, int32_t, int32_t,
                                         const uint8_t *, int32_t, uint32_t, int32_t);
typedef int32_t (*DevlinxRequestWriteOneFn)(const DeviceSelector *, int32_t, int32_t,
                                            const uint8_t *, int32_t, uint32_t, int32_t);
typedef int32_t (*DevlinxRequestStatusWriteFn)(const DeviceSelector *, DevlinxCallback, uint32_t,
                                               const uint8_t *, int32_t, uint32_t, int32_t *);
typedef int32_t (*DevlinxRequestStatusGetFn)(const DeviceSelector *, uint8_t *, int32_t,
                                             uint32_t);
typedef int32_t (*DevlinxRequestAsyncReadFn)(const DeviceSelector *, DevlinxCallback, uint32_t,
                                             uint32_t, int32_t *);
typedef int32_t (*DevlinxRequestStatusSetFeatureFn)(const DeviceSelector *, const uint8_t *,
                                                    int32_t, uint32_t);

#ifdef __cplusplus
}
#endif

#include "devlinx_call_check.h"

#endif /* DEVLINX_H */
