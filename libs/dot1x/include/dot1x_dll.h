#ifndef DOT1X_DLL_H
#define DOT1X_DLL_H
/*
 * The supplicant library: 802.1X authentication, the WPA/WPA2 key handshakes, key derivations
 * and certificate export. The program loads it at run time by name ("libdot1x_dll.so" here,
 * "dot1x_dll.dll" on Windows) and resolves each function by the name below.
 *
 * Conventions of the whole table:
 *  - Calling convention: C (cdecl), like the adapter library's. Texts are 8-bit and
 *    NUL-terminated unless marked UTF-16 (16-bit units, NUL-terminated).
 *  - The library reaches the adapter only through the adapter library's C functions (vuzoza.h):
 *    EAPOL frames travel through its raw frame requests, keys through the callbacks below. This
 *    build links the adapter library and finds it in its own folder, so a program that loaded
 *    the adapter library from the same folder shares that one instance (and its world) with it.
 *  - Results: 0 is success unless a function says otherwise; failure is nonzero (-1). A
 *    function whose work this build does not offer fails cleanly: it returns its failure value,
 *    leaves its outputs zeroed or untouched as stated, and changes no state.
 *  - One key negotiation is active at a time. Calls may come from any thread, one at a time in
 *    practice (the supplicant thread); the library serialises them.
 */
#include <stddef.h>
#include <stdint.h>

#include "libs/vuzoza/include/vuzoza.h"

#if defined(_WIN32)
#define DOT1X_CALL __cdecl
#define DOT1X_API
#else
#define DOT1X_CALL
#define DOT1X_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------------------------
 * Records
 * ------------------------------------------------------------------------------------------- */

/* Room of the certificate list filled by getMyCertList: 500 entries of 1024 bytes, each a
 * UTF-16 subject at +0 and a UTF-16 issuer at +512 (256 units each, terminator included). */
#define DOT1X_CERT_LIST_SIZE 512000
#define DOT1X_CERT_LIST_ENTRY_SIZE 1024
#define DOT1X_CERT_LIST_MAX_ENTRIES 500
#define DOT1X_SUBJECT_ALT_NAME_UNITS 100

/* The EAP block handed to do_eapol_init: 5316 bytes, texts 8-bit and terminated, integers
 * little-endian, every byte not listed 0.
 *     0  256  outer identity          3071  100  "EAP"
 *   256  255  password                3171   37  EAP method: "TLS", "PEAP" or "TTLS"
 *   511  512  authority certificate   3208    4  1398
 *  1023  512  personal certificate    3212 1536  random-seed file
 *  2559  512  private-key file        4748   50  phase-2 method
 *                                     4798  517  inner identity
 *                                     5315    1  validate-server-certificate flag */
#define DOT1X_EAP_BLOCK_SIZE 5316

/* Cipher codes of the key context. */
#define DOT1X_CIPHER_UNKNOWN 0
#define DOT1X_CIPHER_NONE 1
#define DOT1X_CIPHER_WEP40 2
#define DOT1X_CIPHER_WEP104 4
#define DOT1X_CIPHER_TKIP 8
#define DOT1X_CIPHER_CCMP 16

/* Key kinds passed to the key callback. */
#define DOT1X_KEY_PAIRWISE 0 /* the pairwise (transmit) key, index 0 */
#define DOT1X_KEY_GROUP 1    /* a group key, index 1 to 3 */

/* Installs one key in the driver. rsc: the 8-byte receive sequence counter (little-endian, as
 * the key frame carried it); key: key_length bytes (32 for TKIP, its two integrity keys
 * included; 16 for CCMP). Called from within do_key_negotiation_run, on its thread; the two
 * callbacks must not call this library. */
typedef void(DOT1X_CALL* Dot1xKeyCallback)(const uint8_t* rsc, const uint8_t* key, int32_t key_length,
                                           int32_t key_index, int32_t key_kind);

/* Copies the station's own element with this id (221 WPA, 48 RSN) from its association request
 * into out: id, length, body, then a 0 byte (at most 258 bytes); leaves out untouched when
 * there is none. Called from within do_key_negotiation_init. */
typedef void(DOT1X_CALL* Dot1xElementCallback)(int32_t element_id, uint8_t* out);

/* The fixed value the program puts at offset 166 of every key context. It tags the record's
 * layout: do_key_negotiation_init refuses a context without it. */
#define DOT1X_KEY_CONTEXT_TAG_SIZE 16
#define DOT1X_KEY_CONTEXT_TAG                                                                   \
  {0x56, 0x5A, 0x44, 0x31, 0x58, 0x2D, 0x4B, 0x43, 0x54, 0x58, 0x2D, 0x36, 0x34, 0x00, 0x01, 0x00}

/* The key context: allocated by the program, zero-filled before each use, passed to
 * do_key_negotiation_init and do_key_negotiation_run. Every offset up to 436 is the one the
 * worker's record has always had. The two callbacks were 4-byte slots at 436 and 440 on the
 * 32-bit platform; a function pointer is 8 bytes here, so they sit at the next 8-aligned
 * offsets, 432 and 440, and the record grows from 444 to 448 bytes. Bytes 432-435 were padding
 * before 436 and were never read. */
typedef struct Dot1xKeyContext {
  uint8_t own_mac[VZ_MAC_SIZE];                      /* 0 */
  uint8_t pmk[32];                                   /* 6 */
  uint8_t eap_keying_material[128];                  /* 38: EAP workers; zero otherwise */
  uint8_t tag[DOT1X_KEY_CONTEXT_TAG_SIZE];           /* 166: DOT1X_KEY_CONTEXT_TAG */
  uint8_t reserved1[408 - 182];                      /* 182: zero */
  uint32_t zero;                                     /* 408: 0 */
  uint8_t reserved2[424 - 412];                      /* 412: zero */
  uint32_t pairwise_cipher;                          /* 424: DOT1X_CIPHER_... */
  uint32_t group_cipher;                             /* 428: DOT1X_CIPHER_... */
  Dot1xKeyCallback key_callback;                     /* 432 (436 on the 32-bit platform) */
  Dot1xElementCallback element_callback;             /* 440 */
} Dot1xKeyContext;                                   /* 448 bytes (444 on the 32-bit platform) */
#define DOT1X_KEY_CONTEXT_SIZE 448

/* ---------------------------------------------------------------------------------------------
 * The calls. For each: what it returns, and what failure or "not supported" looks like.
 * ------------------------------------------------------------------------------------------- */

/* -- Certificates ---------------------------------------------------------------------------- */
/* The user's certificate store is a private folder ($VUZIDEZA_CERT_DIR, else "certificates" in
 * the settings folder) that the vzcert tool fills. Subjects and issuers are named as people read
 * them: the common name, else the whole distinguished name. Exported files go to the store's
 * private "export" folder (mode 0700, files 0600), never to the program's folder; they are the
 * files the EAP block names: "Orvex.pem", "Orvex_key.pem" (encrypted with "Orvex"), "caroot.pem". */

/* Fills list (DOT1X_CERT_LIST_SIZE bytes, zero-filled by the caller) with the user's personal
 * certificates in a stable order. The number of entries, 0 to 500. */
DOT1X_API int32_t DOT1X_CALL getMyCertList(uint8_t* list);
/* Writes the user principal name, else the e-mail address, of the certificate (UTF-16 subject,
 * issuer) into out (DOT1X_SUBJECT_ALT_NAME_UNITS units, terminated, cut to fit). 0; -1 with an
 * empty text when there is no such certificate or it has neither name. */
DOT1X_API int32_t DOT1X_CALL getMyCertSubjectAltName(const uint16_t* subject, const uint16_t* issuer,
                                                     uint16_t* out);
/* Exports the personal certificate and its private key named by subject and issuer (UTF-16) as
 * "Orvex.p12". 0 exported; -1 when there is no such certificate or the store holds no private
 * key for it (it is not exportable). */
DOT1X_API int32_t DOT1X_CALL genMyCertFile(const uint16_t* subject, const uint16_t* issuer);
/* Converts "Orvex.p12" to "Orvex.pem" and "Orvex_key.pem". 0 converted, -1 otherwise. */
DOT1X_API int32_t DOT1X_CALL genMySSLFile(void);
/* Exports every authority the user trusts as "caroot.p7b", the one that issued the named
 * certificate first when there is such a certificate (PEAP and TTLS name whatever was stored).
 * An empty store gives an empty file: a validating client then trusts no server. 0; -1 when
 * the file cannot be written. */
DOT1X_API int32_t DOT1X_CALL genROOTCertFile(const uint16_t* subject, const uint16_t* issuer);
/* Converts "caroot.p7b" to "caroot.pem". 0 converted, -1 otherwise. */
DOT1X_API int32_t DOT1X_CALL genROOTSSLFile(void);

/* -- EAP authentication --------------------------------------------------------------------- */

/* Prepares an EAP authentication with the access point bssid through the adapter: EAP-TLS,
 * PEAP version 0 with EAP-MSCHAPv2, or EAP-TTLS with PAP, CHAP, MSCHAP or MSCHAPv2, as the EAP
 * block names (method "TLS", "PEAP", "TTLS"; phase 2 "MS-CHAPv2" or the TTLS inner method).
 * reserved is 0; own_mac and bssid are 6 bytes each; eap_block is DOT1X_EAP_BLOCK_SIZE bytes.
 * File names in the block that are not absolute are files of the certificate export folder
 * (the user's private folder that genMyCertFile and genROOTCertFile write to), never of the
 * current directory. A validate flag other than 0 makes the server's certificate be checked
 * against the authority file. The random-seed file is not needed (OpenSSL seeds itself).
 * 0 prepared; -1 when the block names no method of this library or its files cannot be used
 * (do_eapol_run then only waits). */
DOT1X_API int32_t DOT1X_CALL do_eapol_init(VzAdapterHandle* adapter, int32_t reserved, const uint8_t* own_mac,
                                           const uint8_t* bssid, const uint8_t* eap_block);
/* One authentication step: waits up to 100 ms on the adapter library's clock for the access
 * point's next frame and answers it. Nonzero when authentication succeeded, 0 not yet (also
 * after a refusal: the caller's bounded loop ends in its failure path). The server's success
 * counts only after the method is complete: the TLS handshake with the server's certificate
 * accepted, and in PEAP and TTLS-MSCHAPv2 the inner method's proof that the server knows the
 * password. An access point that goes straight to the key handshake (it kept the PMK of an
 * earlier authentication) also counts as success, with no new keying material. */
DOT1X_API int32_t DOT1X_CALL do_eapol_run(void);
/* Ends the authentication prepared by do_eapol_init. 0; harmless when none is prepared. */
DOT1X_API int32_t DOT1X_CALL do_eapol_halt(void);
/* Writes the keying material of the last authentication (128 bytes; its first 32 are the PMK)
 * to out. 0; -1 with out zero-filled when no authentication since do_eapol_init produced keys
 * (an all-zero PMK is never used by the key handshake). */
DOT1X_API int32_t DOT1X_CALL Get_EAP_Derived_Key(uint8_t* out);

/* -- Key derivations ------------------------------------------------------------------------ */

/* The pass-phrase mapping: PBKDF2-HMAC-SHA1(passphrase, ssid, iterations) into out_length bytes
 * of out (the program passes 4096 and 32). The pass phrase is a terminated text of 8 to 63
 * characters. 0; -1 when an argument is missing, the pass phrase is not 8 to 63 characters, the
 * SSID is longer than 32 bytes or out_length is 0 (out then untouched). */
DOT1X_API int32_t DOT1X_CALL Get_PSK_Key_32byte(const char* passphrase, const uint8_t* ssid, int32_t ssid_length,
                                                int32_t iterations, uint8_t* out, int32_t out_length);
/* PMKID = HMAC-SHA1-128(PMK, "PMK Name" || BSSID || own MAC) into out (16 bytes). 0; -1 when an
 * argument is missing or the hash cannot be computed (out then untouched). */
DOT1X_API int32_t DOT1X_CALL Get_PMKID(const uint8_t* pmk, const uint8_t* bssid, const uint8_t* own_mac,
                                       uint8_t* out);

/* -- Key negotiation ------------------------------------------------------------------------ */

/* Prepares the 4-way and group key handshakes with the access point the adapter is associated
 * with (its BSSID read now), replacing any negotiation prepared before. A context naming no
 * cipher at all (both codes 0, as the 802.1X workers leave them) asks for 802.1X dynamic WEP
 * keys instead: the access point's RC4 EAPOL-Key frames, signed and encrypted with the EAP
 * keying material at offset 38, each install one WEP key through the key callback (kind 0 for
 * the station's own key, 1 for the broadcast key); that needs the tag, the key callback and
 * keying material. Otherwise, read from the context:
 * own MAC, PMK, cipher codes, the callbacks. The suite:
 *  - pairwise TKIP (8) or CCMP (16); group TKIP or CCMP; anything else is not offered;
 *  - the protocol from the station's own element: the element callback is asked for 48 and, if
 *    that gives no RSN element, for 221; an RSN element means WPA2 (RSN), a WPA element WPA.
 *    Message 2 repeats that element, so it is required.
 * The access point's own element is read from the adapter's last site survey (the entry of its
 * BSSID): message 3 must repeat it exactly, so a downgraded suite installs nothing. When that
 * survey does not list the access point, a survey is started and message 3 goes unanswered until
 * its result lists it (the access point repeats message 3 meanwhile).
 * 0 prepared. -1 when the context is null, lacks the tag, a callback or the station's element,
 * holds an all-zero PMK or a cipher not offered, or the adapter's BSSID cannot be read: nothing
 * is prepared then, and do_key_negotiation_run only waits. */
DOT1X_API int32_t DOT1X_CALL do_key_negotiation_init(VzAdapterHandle* adapter, Dot1xKeyContext* context);
/* Announces the station to the access point with an EAPOL-Start frame through the adapter the
 * last do_key_negotiation_init prepared; called once per pre-shared-key attempt. The access
 * point starts its handshake on association anyway; the frame makes one that gave up start
 * again. 0 sent; -1 when nothing is prepared or the adapter refused the frame. */
DOT1X_API int32_t DOT1X_CALL do_eapol_start(const uint8_t* bssid, const uint8_t* own_mac);
/* One handshake step: waits up to 100 ms on the adapter library's clock for the next frame from
 * the access point, checks it (integrity code before any key data is decrypted; old replay
 * counters dropped) and answers it, installing keys through the key callback: the pairwise key
 * once per handshake, a group key only when it differs from the installed one, never an all-zero
 * key. 1 when this step installed a key, 0 when it waited, dropped a frame or answered without
 * installing, -1 when this context was not prepared (the step still waits, so a loop over it
 * never spins). */
DOT1X_API int32_t DOT1X_CALL do_key_negotiation_run(Dot1xKeyContext* context);

/* -- Lifecycle ------------------------------------------------------------------------------ */

/* Releases everything: the prepared negotiation and its keys. The library may be used again
 * afterwards as if newly loaded. 0. */
DOT1X_API int32_t DOT1X_CALL Shutdown_Dot1x_Module(void);

#ifdef __cplusplus
}
#endif

/* The layout above is that of 64-bit builds. */
#ifdef __cplusplus
static_assert(sizeof(void*) == 8, "64-bit builds only");
static_assert(sizeof(Dot1xKeyContext) == DOT1X_KEY_CONTEXT_SIZE, "key context layout");
static_assert(offsetof(Dot1xKeyContext, pmk) == 6 && offsetof(Dot1xKeyContext, eap_keying_material) == 38 &&
                  offsetof(Dot1xKeyContext, tag) == 166 && offsetof(Dot1xKeyContext, zero) == 408 &&
                  offsetof(Dot1xKeyContext, pairwise_cipher) == 424 &&
                  offsetof(Dot1xKeyContext, group_cipher) == 428 &&
                  offsetof(Dot1xKeyContext, key_callback) == 432 &&
                  offsetof(Dot1xKeyContext, element_callback) == 440,
              "key context offsets");
#else
_Static_assert(sizeof(Dot1xKeyContext) == DOT1X_KEY_CONTEXT_SIZE, "key context layout");
#endif

#endif /* DOT1X_DLL_H */
