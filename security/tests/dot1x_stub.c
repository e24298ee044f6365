/* A stand-in supplicant library for the loader's tests: every function answers 7, so a test can
 * tell a call reached this library. The partial build lacks the last function of the table. */
#include "libs/dot1x/include/dot1x_dll.h"

int32_t getMyCertList(uint8_t* list) { (void)list; return 7; }
int32_t getMyCertSubjectAltName(const uint16_t* s, const uint16_t* i, uint16_t* out) { (void)s; (void)i; (void)out; return 7; }
int32_t genMyCertFile(const uint16_t* s, const uint16_t* i) { (void)s; (void)i; return 7; }
int32_t genMySSLFile(void) { return 7; }
int32_t genROOTCertFile(const uint16_t* s, const uint16_t* i) { (void)s; (void)i; return 7; }
int32_t genROOTSSLFile(void) { return 7; }
int32_t do_eapol_init(VzAdapterHandle* a, int32_t r, const uint8_t* m, const uint8_t* b, const uint8_t* e) {
  (void)a; (void)r; (void)m; (void)b; (void)e; return 7;
}
int32_t do_eapol_run(void) { return 7; }
int32_t do_eapol_halt(void) { return 7; }
int32_t Get_EAP_Derived_Key(uint8_t* out) { (void)out; return 7; }
int32_t Get_PSK_Key_32byte(const char* p, const uint8_t* s, int32_t l, int32_t n, uint8_t* out, int32_t ol) {
  (void)p; (void)s; (void)l; (void)n; (void)out; (void)ol; return 7;
}
int32_t Get_PMKID(const uint8_t* p, const uint8_t* b, const uint8_t* m, uint8_t* out) { (void)p; (void)b; (void)m; (void)out; return 7; }
int32_t do_eapol_start(const uint8_t* b, const uint8_t* m) { (void)b; (void)m; return 7; }
int32_t do_key_negotiation_init(VzAdapterHandle* a, Dot1xKeyContext* c) { (void)a; (void)c; return 7; }
int32_t do_key_negotiation_run(Dot1xKeyContext* c) { (void)c; return 7; }
#ifndef DOT1X_STUB_PARTIAL
int32_t Shutdown_Dot1x_Module(void) { return 7; }
#endif
