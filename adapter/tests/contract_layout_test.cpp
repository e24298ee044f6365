// The records cross the boundary as raw bytes: their layout is fixed by the driver library, not
// by our compiler, so any drift must stop the build.

#include <cstddef>

#include "vuzoza.h"

static_assert(sizeof(VzAdapterRecord) == 525);
static_assert(alignof(VzAdapterRecord) == 1);
static_assert(offsetof(VzAdapterRecord, description) == 260);
static_assert(offsetof(VzAdapterRecord, instance) == 520);

static_assert(offsetof(VzAdapterHandle, handle) == 0);
static_assert(sizeof(VzAdapterHandle::handle) == 4);
static_assert(offsetof(VzAdapterHandle, name) == 4);
static_assert(offsetof(VzAdapterHandle, description) == 264);
static_assert(offsetof(VzAdapterHandle, instance) == 520);
static_assert(sizeof(VzAdapterHandle::instance) == 5);

static_assert(offsetof(VzDriverInfo, chip_code) == 12);

static_assert(sizeof(VzWpaKeyRecordHeader) == 32);
static_assert(offsetof(VzWpaKeyRecordHeader, bssid) == 12);
static_assert(offsetof(VzWpaKeyRecordHeader, receive_sequence) == 24);
static_assert(sizeof(VzWepKeyRecordHeader) == 12);

static_assert(sizeof(VzPmkidRecord) == 32);
static_assert(offsetof(VzPmkidRecord, bssid) == 8);
static_assert(offsetof(VzPmkidRecord, pmkid) == 14);

static_assert(sizeof(VzAssociationInformation) == 40);
static_assert(offsetof(VzAssociationInformation, current_ap_address) == 10);
static_assert(offsetof(VzAssociationInformation, offset_request_ies) == 20);
static_assert(offsetof(VzAssociationInformation, offset_response_ies) == 36);

static_assert(offsetof(VzSimEapolFrame, peer) == 8);
static_assert(offsetof(VzSimEapolFrame, frame) == VZ_EAPOL_FRAME_HEADER_SIZE);

static_assert(VZ_MAC_LIST_SIZE == 112);
