#include "adapter/adapter_handle.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace adapter {
namespace {

AdapterRecord FilledRecord(char name, char description, char instance) {
  // Every field full to its last byte: no terminator anywhere.
  AdapterRecord record;
  std::memset(record.name, name, sizeof record.name);
  std::memset(record.description, description, sizeof record.description);
  std::memset(record.instance, instance, sizeof record.instance);
  return record;
}

TEST(AdapterHandleTest, ALongDescriptionIsCutBeforeTheInstanceNameInsteadOfOverwritingIt) {
  AdapterHandle handle{};
  handle.handle = 7;
  CopyAdapterRecord(FilledRecord('n', 'd', '4'), handle);
  EXPECT_EQ(handle.handle, 7);
  EXPECT_EQ(std::string(handle.name), std::string(VZ_ADAPTER_NAME_SIZE - 1, 'n'));
  EXPECT_EQ(std::string(handle.description), std::string(VZ_HANDLE_DESCRIPTION_SIZE - 1, 'd'));
  EXPECT_EQ(std::string(handle.instance), "4444");
}

TEST(AdapterHandleTest, ShortTextsArriveWholeAndReplaceLongerOldOnes) {
  AdapterHandle handle{};
  CopyAdapterRecord(FilledRecord('x', 'y', 'z'), handle);
  AdapterRecord record{};
  std::strcpy(record.name, "{guid-7}");
  std::strcpy(record.description, "Wireless USB Adapter");
  std::strcpy(record.instance, "0007");
  CopyAdapterRecord(record, handle);
  EXPECT_STREQ(handle.name, "{guid-7}");
  EXPECT_STREQ(handle.description, "Wireless USB Adapter");
  EXPECT_STREQ(handle.instance, "0007");
  EXPECT_EQ(handle.description[VZ_HANDLE_DESCRIPTION_SIZE - 1], '\0') << "no old bytes left";
}

TEST(AdapterHandleTest, CopyingTheNameLeavesTheOtherFieldsAlone) {
  AdapterHandle handle{};
  std::strcpy(handle.description, "kept");
  std::strcpy(handle.instance, "0001");
  AdapterRecord record{};
  std::strcpy(record.name, "{guid-8}");
  CopyAdapterName(record, handle);
  EXPECT_STREQ(handle.name, "{guid-8}");
  EXPECT_STREQ(handle.description, "kept");
  EXPECT_STREQ(handle.instance, "0001");
}

}  // namespace
}  // namespace adapter
