#pragma once
// Every function of the supplicant library's contract (dot1x_dll.h), in the order of its table.
// The loader resolves them in this order, so a library missing several is reported by the first
// one here.

// X(name) for each function.
#define DOT1X_SUPPLICANT_CONTRACT(X) \
  X(getMyCertList) \
  X(getMyCertSubjectAltName) \
  X(genMyCertFile) \
  X(genMySSLFile) \
  X(genROOTCertFile) \
  X(genROOTSSLFile) \
  X(do_eapol_init) \
  X(do_eapol_run) \
  X(do_eapol_halt) \
  X(Get_EAP_Derived_Key) \
  X(Get_PSK_Key_32byte) \
  X(Get_PMKID) \
  X(do_eapol_start) \
  X(do_key_negotiation_init) \
  X(do_key_negotiation_run) \
  X(Shutdown_Dot1x_Module)
