#ifndef VUZOZA_H
#define VUZOZA_H
/*
 * The adapter driver library: every query and every setting of the wireless adapter goes
 * through these plain C functions. The program loads the library at run time by name
 * ("libVUZOZA.so" here, "VUZOZA.dll" on Windows) and resolves each function by the name below.
 *
 * Conventions of the whole table:
 *  - Calling convention: C (cdecl). Integers are fixed-width; every buffer is 8-bit bytes.
 *  - All calls but the two adapter-list calls and the argument-less ones take the adapter handle
 *    record (VzAdapterHandle) first, by pointer; the library reads the adapter name from it.
 *  - Setters (SetWL...) and ReadOid/WriteOid return 0 on success and -1 when the driver refuses
 *    or cannot be reached. Queries return the value, or -1 on failure; tests of system facts
 *    (CheckOSWinNT, IsAdmin, ...) return nonzero for true.
 *  - Texts are 8-bit in the system code page, NUL-terminated unless a length is given.
 *  - Multi-byte integers inside records are little-endian.
 *  - The library never writes more than the room it is told of (or the fixed size stated).
 *    Counts and lengths it returns are its own answers: callers bound them by their buffers.
 */

#include <stdint.h>

#if defined(_WIN32)
#define VZ_CALL __cdecl
#define VZ_API
#else
#define VZ_CALL
#define VZ_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------------------------
 * Records
 * ------------------------------------------------------------------------------------------- */

#define VZ_ADAPTER_NAME_SIZE 260
#define VZ_ADAPTER_DESCRIPTION_SIZE 260
#define VZ_ADAPTER_INSTANCE_SIZE 5

/* One entry of an adapter list, 525 bytes, byte-aligned, each text NUL-terminated. */
typedef struct VzAdapterRecord {
  char name[VZ_ADAPTER_NAME_SIZE];               /* 0: the name by which the library opens it */
  char description[VZ_ADAPTER_DESCRIPTION_SIZE]; /* 260: shown to the user */
  char instance[VZ_ADAPTER_INSTANCE_SIZE];       /* 520: network-class instance, four digits */
} VzAdapterRecord;

/* The process-wide adapter handle record passed to every per-adapter call. The program fills
 * name, description and instance from a VzAdapterRecord and sets handle to -1 while no adapter
 * is open; QvOpenAdapter stores the driver's handle in it. The library finds the instance name
 * at offset 520, which leaves the description 256 bytes here (260 in the list record): a copy
 * must cut it to 255 characters, or it runs into the instance name. */
#define VZ_HANDLE_DESCRIPTION_SIZE 256
typedef struct VzAdapterHandle {
  int32_t handle;                                /* 0 */
  char name[VZ_ADAPTER_NAME_SIZE];               /* 4 */
  char description[VZ_HANDLE_DESCRIPTION_SIZE];  /* 264 */
  char instance[VZ_ADAPTER_INSTANCE_SIZE];       /* 520 */
} VzAdapterHandle;

/* Driver information filled by Query_QVDriverInfo. The program reads only chip_code. */
typedef struct VzDriverInfo {
  uint32_t vendor_id;        /* 0: hardware vendor identifier */
  uint32_t device_id;        /* 4: hardware device identifier */
  uint32_t firmware_version; /* 8: firmware version word */
  uint32_t chip_code;        /* 12: chip family, 1 to 5; anything else means a generic chip */
  uint32_t reserved[4];      /* 16: zero */
} VzDriverInfo;

#define VZ_SSID_SIZE 32      /* room of QueryWL_SSID's output */
#define VZ_MAC_SIZE 6        /* a MAC address or BSSID, first byte first as transmitted */
#define VZ_RATE_SET_SIZE 16  /* rate sets: 500 kbit/s units, bit 7 = basic rate, 0 ends */
#define VZ_WEP_KEY_MAX 29    /* largest WEP key; SetWL_WriteKey reads up to this many bytes */

/* Station list (WL_RetrieveStationList) and MAC filter list (SetWLAP_FilterList): 16 entries of
 * 7 bytes. Byte 0 of an entry is nonzero when the entry is in use, bytes 1-6 the MAC address. */
#define VZ_MAC_LIST_ENTRIES 16
#define VZ_MAC_LIST_ENTRY_SIZE 7
#define VZ_MAC_LIST_SIZE (VZ_MAC_LIST_ENTRIES * VZ_MAC_LIST_ENTRY_SIZE)

/* Site survey (WL_RetrieveSiteSurveyData): the operating system's 802.11 BSSID list. A 32-bit
 * count of entries, then the entries back to back; each starts with its own length, so entry
 * k+1 begins at entry k plus that length. Offsets within an entry:
 *     0  4  length of this entry in bytes
 *     4  6  BSSID                               (2 bytes padding follow)
 *    12  4  SSID length, 0 to 32
 *    16 32  SSID bytes
 *    48  4  privacy: 0 open, otherwise encryption required
 *    52  4  signal strength in dBm, signed
 *    56  4  network type in use (802.11 physical type)
 *    60 32  configuration: 60 its length (32), 64 beacon period, 68 ATIM window,
 *           72 channel frequency in kHz, 76 frequency-hopping record (16 bytes)
 *    92  4  infrastructure mode: 0 ad hoc, 1 infrastructure, 2 automatic
 *    96 16  supported rates
 *   112  4  length of the information elements, their 12 fixed bytes included
 *   116 12  fixed elements (timestamp, beacon interval, capabilities)
 *   128     variable information elements (id, length, body), length field - 12 bytes
 * The program hands a buffer of VZ_SURVEY_BUFFER_SIZE bytes. */
#define VZ_SURVEY_BUFFER_SIZE 12004
#define VZ_SURVEY_ENTRY_FIXED_SIZE 128

/* ---------------------------------------------------------------------------------------------
 * Raw driver requests (ReadOid / WriteOid) the program uses. Records are little-endian; every
 * written record is passed with its total length.
 * ------------------------------------------------------------------------------------------- */

/* Add a WPA/WPA2 key (written). Record of total length L = key_length + 39:
 *    0  4  L
 *    4  4  key index word: VZ_KEY_SET_RECEIVE_SEQUENCE always; a pairwise key adds
 *          VZ_KEY_TRANSMIT | VZ_KEY_PAIRWISE, a group key adds its index (0-3)
 *    8  4  key length in bytes
 *   12  6  BSSID
 *   18  6  zero
 *   24  8  receive sequence counter
 *   32     key bytes, then 7 zero bytes */
#define VZ_OID_ADD_WPA_KEY 0xFF12FF1Du
#define VZ_KEY_TRANSMIT 0x80000000u
#define VZ_KEY_PAIRWISE 0x40000000u
#define VZ_KEY_SET_RECEIVE_SEQUENCE 0x20000000u
typedef struct VzWpaKeyRecordHeader {
  uint32_t length;
  uint32_t key_index;
  uint32_t key_length;
  uint8_t bssid[VZ_MAC_SIZE];
  uint8_t reserved[6];
  uint8_t receive_sequence[8];
} VzWpaKeyRecordHeader; /* 32 bytes; the key follows */

/* Add a WEP key (written). Record of total length L = key_length + 15:
 *    0  4  L
 *    4  4  key index 0-3, plus VZ_KEY_TRANSMIT for the transmit key
 *    8  4  key length in bytes
 *   12     key bytes, then 3 zero bytes */
#define VZ_OID_ADD_WEP_KEY 0xFF12FF13u
typedef struct VzWepKeyRecordHeader {
  uint32_t length;
  uint32_t key_index;
  uint32_t key_length;
} VzWepKeyRecordHeader; /* 12 bytes; the key follows */

/* Announce a PMKID for a BSSID (written), 32 bytes. */
#define VZ_OID_PMKID 0xFF12FF23u
typedef struct VzPmkidRecord {
  uint32_t length;            /* 0: 32 */
  uint32_t count;             /* 4: 1 */
  uint8_t bssid[VZ_MAC_SIZE]; /* 8 */
  uint8_t pmkid[16];          /* 14 */
  uint8_t reserved[2];        /* 30: zero */
} VzPmkidRecord;

/* The 802.11 association information of the current association (read). The element bytes
 * of the station's association request start at offset_request_ies and end where those of the
 * access point's response start (offset_response_ies); offsets count from the record's start.
 * The program reads it into a 1000-byte buffer. */
#define VZ_OID_ASSOCIATION_INFORMATION 0x0D01011Fu
typedef struct VzAssociationInformation {
  uint32_t length;                     /* 0: 40 */
  uint16_t available_request_fixed;    /* 4 */
  uint16_t request_capabilities;       /* 6 */
  uint16_t request_listen_interval;    /* 8 */
  uint8_t current_ap_address[VZ_MAC_SIZE]; /* 10 */
  uint32_t request_ie_length;          /* 16 */
  uint32_t offset_request_ies;         /* 20 */
  uint16_t available_response_fixed;   /* 24 */
  uint16_t response_capabilities;      /* 26 */
  uint16_t response_status_code;       /* 28 */
  uint16_t response_association_id;    /* 30 */
  uint32_t response_ie_length;         /* 32 */
  uint32_t offset_response_ies;        /* 36 */
} VzAssociationInformation;            /* 40 bytes; the element bytes follow */

/* ---------------------------------------------------------------------------------------------
 * The calls. For each: what it returns, and what failure or "not supported" looks like.
 * ------------------------------------------------------------------------------------------- */

/* -- Open, lists ---------------------------------------------------------------------------- */

/* Opens the adapter named by adapter->name and stores the driver's handle in adapter->handle.
 * Nonzero when the adapter is open, 0 when it cannot be opened. */
VZ_API int32_t VZ_CALL QvOpenAdapter(VzAdapterHandle* adapter);
/* Closes the adapter; harmless when it is not open. 0. */
VZ_API int32_t VZ_CALL QvCloseAdapter(VzAdapterHandle* adapter);
/* Fills up to `capacity` records with every network adapter of the machine. The number of
 * records filled; 0 when there is none or the list cannot be built. */
VZ_API int32_t VZ_CALL CreateAllNICAdapterList(VzAdapterRecord* list, int32_t capacity);
/* Fills up to `capacity` records with the machine's other (non-wireless-family) network
 * adapters, candidates for bridging. The number of records filled, -1 on failure. */
VZ_API int32_t VZ_CALL CreateNICAdapterList(VzAdapterRecord* list, int32_t capacity);
/* The driver's version word, one version part per byte from the highest (read it as unsigned
 * bits); exactly -1 when the driver does not answer (the adapter is gone). */
VZ_API int32_t VZ_CALL QueryWL_DriverVersion(VzAdapterHandle* adapter);
/* Fills *info. 0 on success, -1 on failure (the record is then undefined). */
VZ_API int32_t VZ_CALL Query_QVDriverInfo(VzAdapterHandle* adapter, VzDriverInfo* info);

/* -- Station queries ------------------------------------------------------------------------ */

/* 0 associated, 1 not associated, -1 failure. */
VZ_API int32_t VZ_CALL QueryWL_ConnectState(VzAdapterHandle* adapter);
/* Writes the current SSID's bytes (not terminated) into ssid[VZ_SSID_SIZE]; the SSID length
 * 0-32, negative on failure. */
VZ_API int32_t VZ_CALL QueryWL_SSID(VzAdapterHandle* adapter, uint8_t* ssid);
/* Writes the associated access point's BSSID into bssid[VZ_MAC_SIZE]. 0, -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_BSSID(VzAdapterHandle* adapter, uint8_t* bssid);
/* Writes the adapter's own MAC address into mac[VZ_MAC_SIZE]. 0, -1 on failure (mac is then
 * left untouched). */
VZ_API int32_t VZ_CALL GetNICAdapterMAC(VzAdapterHandle* adapter, uint8_t* mac);
/* The current channel number, -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_Channel(VzAdapterHandle* adapter);
/* 0 ad hoc, 1 infrastructure, 2 WDS, 3 pseudo ad hoc; -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_NetworkType(VzAdapterHandle* adapter);
/* The encryption status (0 WEP, 1 disabled, 4 TKIP, 6 AES, ...); negative on failure. */
VZ_API int32_t VZ_CALL QueryWL_WEPStatus(VzAdapterHandle* adapter);
/* The authentication mode (0 open, 1 shared, 2 automatic, 3 WPA, 4 WPA-PSK, 5 WPA-None,
 * 6 WPA2, 7 WPA2-PSK); -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_AuthenticationMode(VzAdapterHandle* adapter);
/* The received signal strength in dBm (negative), -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_RSSI(VzAdapterHandle* adapter);
/* The link quality in percent, -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_CommQuality(VzAdapterHandle* adapter);
/* The current link speed in kbit/s, -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_CurrentLinkSpeed(VzAdapterHandle* adapter);
/* Stores the frames transmitted and received since the driver started. 0, -1 on failure (the
 * counts are then left untouched). The counts wrap at 2^32. */
VZ_API int32_t VZ_CALL GetTxRxFrameCount(VzAdapterHandle* adapter, uint32_t* sent,
                                         uint32_t* received);
/* The band in use, numbered like the stored "WirelessMode" (802.11 physical type); -1. */
VZ_API int32_t VZ_CALL QueryWL_802_11_NetworkTypeInUse(VzAdapterHandle* adapter);
/* The band modes the chip offers: 3 2.4 GHz, 2 5 GHz, 4 both; -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_QVWirelessMode(VzAdapterHandle* adapter);
/* Rates allowed in ad hoc networks: 0 only the four 802.11b rates, 1 all, 2 all but those
 * four; -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_QVAdhocMode(VzAdapterHandle* adapter);
/* 0 station, 1 access point; -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_OperationMode_STA_AP(VzAdapterHandle* adapter);
/* The regulatory region code (0-254), -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_OperationRegionCode(VzAdapterHandle* adapter);
/* 0 or 1, -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_MultiDomainCapability(VzAdapterHandle* adapter);
/* The power-save mode 0-2, -1 when the driver does not offer it. */
VZ_API int32_t VZ_CALL QueryWL_PSMode(VzAdapterHandle* adapter);
/* The fragmentation threshold in bytes, -1 when the driver does not offer it. */
VZ_API int32_t VZ_CALL QueryWL_FragmentationThreshold(VzAdapterHandle* adapter);
/* The RTS/CTS threshold in bytes, -1 when the driver does not offer it. */
VZ_API int32_t VZ_CALL QueryWL_RTS_CTS_Threshold(VzAdapterHandle* adapter);
/* Whether the driver's private request set is in use, as last set; -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_QVUseQVXOidState(VzAdapterHandle* adapter);
/* Writes the supported channel numbers, one byte each: the 2.4 GHz channels, one byte 0xFF,
 * then the 5 GHz channels. *count: in, the room in `channels`; out, the number written.
 * 0 when the list is valid; nonzero (-1) when not supported, *count is then undefined. */
VZ_API int32_t VZ_CALL QueryWL_SupportChannel(VzAdapterHandle* adapter, uint8_t* channels,
                                              int32_t* count);
/* Writes the transmit rates to offer to the user (rate codes as in VZ_RATE_SET_SIZE, ended by
 * 0 when fewer than the room). *count: in, the room in `rates`; out, the number written.
 * 0 when valid; nonzero (-1) when not supported. */
VZ_API int32_t VZ_CALL QueryWL_UISupportTxRate(VzAdapterHandle* adapter, uint8_t* rates,
                                               int32_t* count);
/* Writes the adapter's supported rate set into rates[VZ_RATE_SET_SIZE]. 0, -1 when there is
 * none. */
VZ_API int32_t VZ_CALL QueryWL_SupportedRate(VzAdapterHandle* adapter, uint8_t* rates);

/* -- Station settings (each returns 0 when the driver accepts, -1 when it refuses) ---------- */

/* Sets the SSID to `length` bytes (0-32) of `ssid`, which makes the adapter (re)associate. */
VZ_API int32_t VZ_CALL SetWL_SSID(VzAdapterHandle* adapter, const uint8_t* ssid,
                                  int32_t length);
VZ_API int32_t VZ_CALL SetWL_Channel(VzAdapterHandle* adapter, int32_t channel);
/* 0 ad hoc, 1 infrastructure, 3 pseudo ad hoc. */
VZ_API int32_t VZ_CALL SetWL_NetworkType(VzAdapterHandle* adapter, int32_t network_type);
/* The band to use, numbered like QueryWL_802_11_NetworkTypeInUse. */
VZ_API int32_t VZ_CALL SetWL_802_11_NetworkTypeInUse(VzAdapterHandle* adapter,
                                                     int32_t network_type_in_use);
/* Numbered like QueryWL_AuthenticationMode. */
VZ_API int32_t VZ_CALL SetWL_AuthenticationMode(VzAdapterHandle* adapter, int32_t mode);
/* Numbered like QueryWL_WEPStatus. */
VZ_API int32_t VZ_CALL SetWL_WEPStatus(VzAdapterHandle* adapter, int32_t status);
/* Reads rates[VZ_RATE_SET_SIZE]: the rates the adapter may use, 0 ends the set early. */
VZ_API int32_t VZ_CALL SetWL_DesiredRate(VzAdapterHandle* adapter, const uint8_t* rates);
VZ_API int32_t VZ_CALL SetWL_PSMode(VzAdapterHandle* adapter, int32_t mode);
VZ_API int32_t VZ_CALL SetWL_FragmentationThreshold(VzAdapterHandle* adapter, int32_t bytes);
VZ_API int32_t VZ_CALL SetWL_RTS_CTS_Threshold(VzAdapterHandle* adapter, int32_t bytes);
VZ_API int32_t VZ_CALL SetWL_PreambleMode(VzAdapterHandle* adapter, int32_t mode);
VZ_API int32_t VZ_CALL SetWL_MultiDomainCapability(VzAdapterHandle* adapter, int32_t enabled);
VZ_API int32_t VZ_CALL SetWL_OperationRegionCode(VzAdapterHandle* adapter, int32_t region);
VZ_API int32_t VZ_CALL SetWL_QVPSPXLinkMode(VzAdapterHandle* adapter, int32_t mode);
VZ_API int32_t VZ_CALL SetWL_QVWMMQosMode(VzAdapterHandle* adapter, int32_t mode);
/* Requests the band mode: 3 2.4 GHz, 2 5 GHz, 4 both; -1 when the chip cannot switch. */
VZ_API int32_t VZ_CALL SetWL_QVWirelessMode(VzAdapterHandle* adapter, int32_t mode);
/* Switches the driver's private request set on (nonzero) or off (0). */
VZ_API int32_t VZ_CALL SetWL_QVUseQVXOidState(VzAdapterHandle* adapter, int32_t state);
/* Restricts the adapter to `count` channel numbers (one byte each) of `channels`. */
VZ_API int32_t VZ_CALL SetWL_SupportChannel(VzAdapterHandle* adapter, const uint8_t* channels,
                                            int32_t count);
/* Sets the region and the channels the driver derives from it. */
VZ_API int32_t VZ_CALL SetWL_RegionAndSupportChannel(VzAdapterHandle* adapter, int32_t region);
/* Reads bssid[VZ_MAC_SIZE]: the access point to associate with. */
VZ_API int32_t VZ_CALL SetWL_BSSID(VzAdapterHandle* adapter, const uint8_t* bssid);
/* Writes WEP key `index` (0-3). length_code 0, 1, 2 means a key of 5, 13, 29 bytes read from
 * `key`; the library may refuse other codes. default_key nonzero makes it the transmit key. */
VZ_API int32_t VZ_CALL SetWL_WriteKey(VzAdapterHandle* adapter, int32_t index,
                                      int32_t length_code, int32_t default_key,
                                      const uint8_t* key);
/* 0 station, 1 access point; -1 when the mode cannot be switched. */
VZ_API int32_t VZ_CALL SetWL_OperationMode_STA_AP(VzAdapterHandle* adapter, int32_t mode);

/* -- Access point (each returns 0 when accepted, -1 when refused) --------------------------- */

/* Band mode of the soft access point, 1-4. */
VZ_API int32_t VZ_CALL SetWL_ApWirelessMode(VzAdapterHandle* adapter, int32_t mode);
VZ_API int32_t VZ_CALL SetWL_ApProtectionMode(VzAdapterHandle* adapter, int32_t mode);
/* 1 hides the SSID from beacons. */
VZ_API int32_t VZ_CALL SetWLAP_HideSSIDState(VzAdapterHandle* adapter, int32_t hidden);
/* Transmit power level 0-3. */
VZ_API int32_t VZ_CALL SetWLAP_TxPowerLevel(VzAdapterHandle* adapter, int32_t level);
/* MAC filter type 0-2. */
VZ_API int32_t VZ_CALL SetWLAP_FilterMode(VzAdapterHandle* adapter, int32_t mode);
/* Reads the MAC filter list: `length` bytes (VZ_MAC_LIST_SIZE) in the MAC list layout. */
VZ_API int32_t VZ_CALL SetWLAP_FilterList(VzAdapterHandle* adapter, const uint8_t* list,
                                          int32_t length);

/* -- Scans ---------------------------------------------------------------------------------- */

/* Starts a site survey; the results are ready a few seconds later. 0, -1 on failure. */
VZ_API int32_t VZ_CALL WL_SiteSurveyStart(VzAdapterHandle* adapter);
/* Writes the last survey's results in the BSSID list layout into `buffer` of `size` bytes
 * (entries that do not fit are left out, the count says how many are there). 0, -1 on failure
 * (the buffer is then undefined). */
VZ_API int32_t VZ_CALL WL_RetrieveSiteSurveyData(VzAdapterHandle* adapter, uint8_t* buffer,
                                                 int32_t size);
/* Writes the stations associated with the soft access point in the MAC list layout into
 * `buffer` of `size` (VZ_MAC_LIST_SIZE) bytes. 0, -1 on failure. */
VZ_API int32_t VZ_CALL WL_RetrieveStationList(VzAdapterHandle* adapter, uint8_t* buffer,
                                              int32_t size);

/* -- The operating system's wireless configuration service ---------------------------------- */

/* Start / stop the service. 0, -1 on failure. */
VZ_API int32_t VZ_CALL QVStartWZCService(void);
VZ_API int32_t VZ_CALL QVStopWZCService(void);
/* Who controls the adapter: 0 this program, 1 the service runs it, 2 leave the service alone
 * (it does not manage this adapter); -1 on failure. */
VZ_API int32_t VZ_CALL QueryWL_CheckWZCStatus(VzAdapterHandle* adapter);

/* -- System (nonzero = true) ---------------------------------------------------------------- */

VZ_API int32_t VZ_CALL CheckOSWinNT(void);          /* NT-family system */
VZ_API int32_t VZ_CALL QueryWL_IsWindows2000(void); /* exactly the 2000 release */
VZ_API int32_t VZ_CALL QueryWL_IsWindows95(void);   /* the older 95/98/ME family */
VZ_API int32_t VZ_CALL IsAdmin(void);               /* the user has administrator rights */
/* Lets users without administrator rights reach the driver. 0, -1 on failure. */
VZ_API int32_t VZ_CALL NonAdminUserEnabler(void);
/* The system's version word; the program ignores it. */
VZ_API int32_t VZ_CALL QV_GetOSVersion(void);
/* Nonzero when PCI and PCMCIA adapters need a wait after system start before their first open. */
VZ_API int32_t VZ_CALL Query_FixWindisPnPBug(void);

/* -- Raw driver requests -------------------------------------------------------------------- */

/* Reads request `oid` into `buffer` of `size` bytes. 0 on success, -1 on failure (unknown
 * request, buffer too small, not associated). */
VZ_API int32_t VZ_CALL ReadOid(VzAdapterHandle* adapter, uint32_t oid, uint8_t* buffer,
                               uint32_t size);
/* Writes the `size` bytes of `buffer` as request `oid`. 0 on success, -1 on failure. */
VZ_API int32_t VZ_CALL WriteOid(VzAdapterHandle* adapter, uint32_t oid, const uint8_t* buffer,
                                uint32_t size);

/* =============================================================================================
 * Private to our simulated stand-in of the library; the closed library has none of this, so the
 * program looks these up optionally and works without them.
 * =========================================================================================== */

/* The program's clock, handed to the simulated library so that its time (association delays,
 * scan time, signal drift, traffic) follows the program's, virtual or real. The callbacks may
 * be called from any thread; `user` is passed back to each. */
typedef struct VzSimClock {
  void* user;
  int64_t(VZ_CALL* now_ms)(void* user);       /* monotonic milliseconds */
  int64_t(VZ_CALL* unix_seconds)(void* user); /* wall clock, seconds since 1970 */
  void(VZ_CALL* sleep_ms)(void* user, uint32_t milliseconds);
} VzSimClock;

/* Copies *clock; NULL returns the library to the machine's real clock. `user` must stay valid
 * until the next VzSim_SetClock call. */
VZ_API void VZ_CALL VzSim_SetClock(const VzSimClock* clock);

/* Raw EAPOL path between the station and the simulated access point, for the supplicant
 * stand-in, through WriteOid / ReadOid with these requests and one record layout:
 *    0  4  timeout_ms  receive only: how long to wait for a frame on the library's clock
 *                      (0 polls)
 *    4  4  length      bytes of frame in use
 *    8  6  peer        send: destination (all zero = the associated access point);
 *                      receive: the sender
 *   14  2  zero
 *   16     frame       the 802.1X PDU (version, packet type, body length, body), no MAC header
 *
 * VZ_OID_SIM_EAPOL_SEND (WriteOid, size >= 16 + length): queues the frame for the access
 *   point. 0; -1 when not associated or the record is short.
 * VZ_OID_SIM_EAPOL_RECEIVE (ReadOid, size = room): takes the next frame from the access point.
 *   0 with the frame; -1 when none arrived within timeout_ms; -1 with `length` set to the needed
 *   frame size when the frame does not fit (it stays queued). */
#define VZ_OID_SIM_EAPOL_SEND 0xFF5E0001u
#define VZ_OID_SIM_EAPOL_RECEIVE 0xFF5E0002u
#define VZ_EAPOL_FRAME_MAX 2048
typedef struct VzSimEapolFrame {
  uint32_t timeout_ms;
  uint32_t length;
  uint8_t peer[VZ_MAC_SIZE];
  uint8_t reserved[2];
  uint8_t frame[VZ_EAPOL_FRAME_MAX];
} VzSimEapolFrame;
#define VZ_EAPOL_FRAME_HEADER_SIZE 16

#ifdef __cplusplus
}
#endif

#endif /* VUZOZA_H */
