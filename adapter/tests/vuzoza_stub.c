/* A stand-in adapter library for the loader's tests, written in C to prove the contract header
 * is plain C. Every call records its C arguments as text, in the recording fake's notation,
 * and returns one settable answer; outputs get fixed, recognisable values. Built twice: complete,
 * and with VZ_STUB_PARTIAL without QueryWL_RSSI and ReadOid. */

#include <stdarg.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include "vuzoza.h"

_Static_assert(sizeof(VzAdapterRecord) == 525, "adapter record size");
_Static_assert(offsetof(VzAdapterHandle, name) == 4, "handle record: name");
_Static_assert(offsetof(VzAdapterHandle, description) == 264, "handle record: description");
_Static_assert(offsetof(VzAdapterHandle, instance) == 520, "handle record: instance");
_Static_assert(offsetof(VzDriverInfo, chip_code) == 12, "driver information: chip code");

static char last_call[1024];
static char hex_text[512];
static int32_t answer;
static VzSimClock shared_clock;
static int clock_shared;

static void record(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  vsnprintf(last_call, sizeof last_call, format, arguments);
  va_end(arguments);
}

static const char* hex(const uint8_t* bytes, size_t count) {
  static const char digits[] = "0123456789ABCDEF";
  size_t i;
  if (count > (sizeof hex_text - 1) / 2) count = (sizeof hex_text - 1) / 2;
  for (i = 0; i < count; ++i) {
    hex_text[2 * i] = digits[bytes[i] >> 4];
    hex_text[2 * i + 1] = digits[bytes[i] & 0x0F];
  }
  hex_text[2 * count] = '\0';
  return hex_text;
}

/* Test probes, not part of the contract. */
VZ_API const char* VzStub_LastCall(void) { return last_call; }
VZ_API void VzStub_SetAnswer(int32_t value) { answer = value; }
VZ_API int32_t VzStub_ProbeClock(uint32_t sleep_ms, int64_t* now_ms, int64_t* unix_seconds) {
  if (!clock_shared) return -1;
  shared_clock.sleep_ms(shared_clock.user, sleep_ms);
  *now_ms = shared_clock.now_ms(shared_clock.user);
  *unix_seconds = shared_clock.unix_seconds(shared_clock.user);
  return 0;
}

VZ_API void VZ_CALL VzSim_SetClock(const VzSimClock* clock) {
  clock_shared = clock != NULL;
  if (clock != NULL) shared_clock = *clock;
}

#define ADAPTER_ONLY(name)                                  \
  VZ_API int32_t VZ_CALL name(VzAdapterHandle* adapter) {   \
    (void)adapter;                                          \
    record(#name "()");                                     \
    return answer;                                          \
  }
#define ADAPTER_AND_NUMBER(name)                                          \
  VZ_API int32_t VZ_CALL name(VzAdapterHandle* adapter, int32_t value) {  \
    (void)adapter;                                                        \
    record(#name "(%d)", (int)value);                                     \
    return answer;                                                        \
  }
#define NO_ARGUMENTS(name)          \
  VZ_API int32_t VZ_CALL name(void) { \
    record(#name "()");             \
    return answer;                  \
  }

VZ_API int32_t VZ_CALL QvOpenAdapter(VzAdapterHandle* adapter) {
  record("QvOpenAdapter()");
  adapter->handle = 42;
  return answer;
}
ADAPTER_ONLY(QvCloseAdapter)

static int32_t fill_list(VzAdapterRecord* list, int32_t capacity) {
  int32_t i;
  for (i = 0; i < capacity && i < 2; ++i) {
    memset(&list[i], 0, sizeof list[i]);
    snprintf(list[i].name, sizeof list[i].name, "stub%d", (int)i);
  }
  return answer;
}
VZ_API int32_t VZ_CALL CreateAllNICAdapterList(VzAdapterRecord* list, int32_t capacity) {
  record("CreateAllNICAdapterList(%d)", (int)capacity);
  return fill_list(list, capacity);
}
VZ_API int32_t VZ_CALL CreateNICAdapterList(VzAdapterRecord* list, int32_t capacity) {
  record("CreateNICAdapterList(%d)", (int)capacity);
  return fill_list(list, capacity);
}
ADAPTER_ONLY(QueryWL_DriverVersion)
VZ_API int32_t VZ_CALL Query_QVDriverInfo(VzAdapterHandle* adapter, VzDriverInfo* info) {
  (void)adapter;
  record("Query_QVDriverInfo()");
  memset(info, 0, sizeof *info);
  info->chip_code = 4;
  return answer;
}

ADAPTER_ONLY(QueryWL_ConnectState)
VZ_API int32_t VZ_CALL QueryWL_SSID(VzAdapterHandle* adapter, uint8_t* ssid) {
  (void)adapter;
  record("QueryWL_SSID()");
  memset(ssid, 0, VZ_SSID_SIZE);
  memcpy(ssid, "STUB", 4);
  return answer;
}
VZ_API int32_t VZ_CALL QueryWL_BSSID(VzAdapterHandle* adapter, uint8_t* bssid) {
  static const uint8_t value[VZ_MAC_SIZE] = {0x02, 0, 0, 0, 0, 0x01};
  (void)adapter;
  record("QueryWL_BSSID()");
  memcpy(bssid, value, sizeof value);
  return answer;
}
VZ_API int32_t VZ_CALL GetNICAdapterMAC(VzAdapterHandle* adapter, uint8_t* mac) {
  static const uint8_t value[VZ_MAC_SIZE] = {0x02, 0, 0, 0, 0, 0x02};
  (void)adapter;
  record("GetNICAdapterMAC()");
  memcpy(mac, value, sizeof value);
  return answer;
}
ADAPTER_ONLY(QueryWL_Channel)
ADAPTER_ONLY(QueryWL_NetworkType)
ADAPTER_ONLY(QueryWL_WEPStatus)
ADAPTER_ONLY(QueryWL_AuthenticationMode)
#ifndef VZ_STUB_PARTIAL
ADAPTER_ONLY(QueryWL_RSSI)
#endif
ADAPTER_ONLY(QueryWL_CommQuality)
ADAPTER_ONLY(QueryWL_CurrentLinkSpeed)
VZ_API int32_t VZ_CALL GetTxRxFrameCount(VzAdapterHandle* adapter, uint32_t* sent,
                                         uint32_t* received) {
  (void)adapter;
  record("GetTxRxFrameCount()");
  *sent = 1000;
  *received = 2000;
  return answer;
}
ADAPTER_ONLY(QueryWL_802_11_NetworkTypeInUse)
ADAPTER_ONLY(QueryWL_QVWirelessMode)
ADAPTER_ONLY(QueryWL_QVAdhocMode)
ADAPTER_ONLY(QueryWL_OperationMode_STA_AP)
ADAPTER_ONLY(QueryWL_OperationRegionCode)
ADAPTER_ONLY(QueryWL_MultiDomainCapability)
ADAPTER_ONLY(QueryWL_PSMode)
ADAPTER_ONLY(QueryWL_FragmentationThreshold)
ADAPTER_ONLY(QueryWL_RTS_CTS_Threshold)
ADAPTER_ONLY(QueryWL_QVUseQVXOidState)

static int32_t fill_counted(const char* name, uint8_t* out, int32_t* count, const uint8_t* values,
                            int32_t n) {
  record("%s(%d)", name, (int)*count);
  if (n > *count) n = *count;
  memcpy(out, values, (size_t)n);
  *count = n;
  return answer;
}
VZ_API int32_t VZ_CALL QueryWL_SupportChannel(VzAdapterHandle* adapter, uint8_t* channels,
                                              int32_t* count) {
  static const uint8_t values[] = {1, 6, 11, 0xFF, 36};
  (void)adapter;
  return fill_counted("QueryWL_SupportChannel", channels, count, values, sizeof values);
}
VZ_API int32_t VZ_CALL QueryWL_UISupportTxRate(VzAdapterHandle* adapter, uint8_t* rates,
                                               int32_t* count) {
  static const uint8_t values[] = {0x82, 0x84, 0x0B, 0x16, 0};
  (void)adapter;
  return fill_counted("QueryWL_UISupportTxRate", rates, count, values, sizeof values);
}
VZ_API int32_t VZ_CALL QueryWL_SupportedRate(VzAdapterHandle* adapter, uint8_t* rates) {
  static const uint8_t values[VZ_RATE_SET_SIZE] = {0x82, 0x84, 0x8B, 0x96, 0x6C};
  (void)adapter;
  record("QueryWL_SupportedRate()");
  memcpy(rates, values, sizeof values);
  return answer;
}

VZ_API int32_t VZ_CALL SetWL_SSID(VzAdapterHandle* adapter, const uint8_t* ssid, int32_t length) {
  (void)adapter;
  record("SetWL_SSID(%s, %d)", hex(ssid, (size_t)length), (int)length);
  return answer;
}
ADAPTER_AND_NUMBER(SetWL_Channel)
ADAPTER_AND_NUMBER(SetWL_NetworkType)
ADAPTER_AND_NUMBER(SetWL_802_11_NetworkTypeInUse)
ADAPTER_AND_NUMBER(SetWL_AuthenticationMode)
ADAPTER_AND_NUMBER(SetWL_WEPStatus)
VZ_API int32_t VZ_CALL SetWL_DesiredRate(VzAdapterHandle* adapter, const uint8_t* rates) {
  (void)adapter;
  record("SetWL_DesiredRate(%s)", hex(rates, VZ_RATE_SET_SIZE));
  return answer;
}
ADAPTER_AND_NUMBER(SetWL_PSMode)
ADAPTER_AND_NUMBER(SetWL_FragmentationThreshold)
ADAPTER_AND_NUMBER(SetWL_RTS_CTS_Threshold)
ADAPTER_AND_NUMBER(SetWL_PreambleMode)
ADAPTER_AND_NUMBER(SetWL_MultiDomainCapability)
ADAPTER_AND_NUMBER(SetWL_OperationRegionCode)
ADAPTER_AND_NUMBER(SetWL_QVPSPXLinkMode)
ADAPTER_AND_NUMBER(SetWL_QVWMMQosMode)
ADAPTER_AND_NUMBER(SetWL_QVWirelessMode)
ADAPTER_AND_NUMBER(SetWL_QVUseQVXOidState)
VZ_API int32_t VZ_CALL SetWL_SupportChannel(VzAdapterHandle* adapter, const uint8_t* channels,
                                            int32_t count) {
  (void)adapter;
  record("SetWL_SupportChannel(%s, %d)", hex(channels, (size_t)count), (int)count);
  return answer;
}
ADAPTER_AND_NUMBER(SetWL_RegionAndSupportChannel)
VZ_API int32_t VZ_CALL SetWL_BSSID(VzAdapterHandle* adapter, const uint8_t* bssid) {
  (void)adapter;
  record("SetWL_BSSID(%s)", hex(bssid, VZ_MAC_SIZE));
  return answer;
}
VZ_API int32_t VZ_CALL SetWL_WriteKey(VzAdapterHandle* adapter, int32_t index, int32_t length_code,
                                      int32_t default_key, const uint8_t* key) {
  /* Reads as many bytes as the code says, as a driver library does. */
  const size_t length = length_code == 1 ? 13 : length_code == 2 ? 29 : 5;
  (void)adapter;
  record("SetWL_WriteKey(%d, %d, %d, %s)", (int)index, (int)length_code, (int)default_key,
         hex(key, length));
  return answer;
}
ADAPTER_AND_NUMBER(SetWL_OperationMode_STA_AP)

ADAPTER_AND_NUMBER(SetWL_ApWirelessMode)
ADAPTER_AND_NUMBER(SetWL_ApProtectionMode)
ADAPTER_AND_NUMBER(SetWLAP_HideSSIDState)
ADAPTER_AND_NUMBER(SetWLAP_TxPowerLevel)
ADAPTER_AND_NUMBER(SetWLAP_FilterMode)
VZ_API int32_t VZ_CALL SetWLAP_FilterList(VzAdapterHandle* adapter, const uint8_t* list,
                                          int32_t length) {
  (void)adapter;
  record("SetWLAP_FilterList(%s, %d)", hex(list, (size_t)length), (int)length);
  return answer;
}

ADAPTER_ONLY(WL_SiteSurveyStart)
VZ_API int32_t VZ_CALL WL_RetrieveSiteSurveyData(VzAdapterHandle* adapter, uint8_t* buffer,
                                                 int32_t size) {
  (void)adapter;
  record("WL_RetrieveSiteSurveyData(%d)", (int)size);
  memset(buffer, 0, (size_t)size); /* a buffer shorter than announced shows up under ASan */
  return answer;
}
VZ_API int32_t VZ_CALL WL_RetrieveStationList(VzAdapterHandle* adapter, uint8_t* buffer,
                                              int32_t size) {
  (void)adapter;
  record("WL_RetrieveStationList(%d)", (int)size);
  memset(buffer, 0, (size_t)size);
  return answer;
}

NO_ARGUMENTS(QVStartWZCService)
NO_ARGUMENTS(QVStopWZCService)
ADAPTER_ONLY(QueryWL_CheckWZCStatus)

NO_ARGUMENTS(CheckOSWinNT)
NO_ARGUMENTS(QueryWL_IsWindows2000)
NO_ARGUMENTS(QueryWL_IsWindows95)
NO_ARGUMENTS(IsAdmin)
NO_ARGUMENTS(NonAdminUserEnabler)
NO_ARGUMENTS(QV_GetOSVersion)
NO_ARGUMENTS(Query_FixWindisPnPBug)

#ifndef VZ_STUB_PARTIAL
VZ_API int32_t VZ_CALL ReadOid(VzAdapterHandle* adapter, uint32_t oid, uint8_t* buffer,
                               uint32_t size) {
  (void)adapter;
  record("ReadOid(0x%08X, %u)", (unsigned)oid, (unsigned)size);
  memset(buffer, 0xAB, size);
  return answer;
}
#endif
VZ_API int32_t VZ_CALL WriteOid(VzAdapterHandle* adapter, uint32_t oid, const uint8_t* buffer,
                                uint32_t size) {
  (void)adapter;
  record("WriteOid(0x%08X, %s, %u)", (unsigned)oid, hex(buffer, size), (unsigned)size);
  return answer;
}
