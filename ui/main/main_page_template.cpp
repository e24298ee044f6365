#include "ui/main/main_page_template.h"

#include "lang/texts.h"
#include "ui/common/template_texts.h"
#include "ui/main/main_page_ids.h"

namespace ui::main_page {

using namespace platform::window;
namespace texts = lang::texts;

namespace {

ControlTemplate Control(int controlId, ControlKind kind, DialogRect rect,
                        const std::vector<ShownText>& shown = {},
                        std::uint32_t controlStyle = 0) {
  return TextControl(controlId, kind, rect, shown, controlStyle);
}

// A label the window fills at run time: empty until then.
ControlTemplate StatusText(int controlId, DialogRect rect, const std::vector<ShownText>& shown) {
  ControlTemplate row = Control(controlId, ControlKind::Label, rect, shown);
  row.text.clear();
  return row;
}

ControlTemplate Picture(int controlId, DialogRect rect, int iconResource) {
  ControlTemplate row = Control(controlId, ControlKind::Picture, rect);
  row.icon = iconResource;
  return row;
}

}  // namespace

DialogTemplate MainPageTemplate() {
  using K = ControlKind;
  DialogTemplate t;
  t.id = kTemplateId;
  t.width = 267;
  t.height = 214;
  t.caption = u"Orvex Ventrel";
  t.fontName = u"Verdana";
  t.fontPoints = 8;

  t.controls = {
      Picture(id::AppIcon, {6, 10, 20, 20}, icon::App),
      Control(id::AdapterLabel, K::Label, {32, 9, 92, 9}, {texts::MP_Network_Adapter}),
      Control(id::AdapterBox, K::DropDownList, {33, 20, 227, 80}),
      Control(id::ModeLabel, K::Label, {145, 7, 56, 8}, {texts::MP_STA_AP_Mode}),
      Control(id::ModeBox, K::DropDownList, {204, 5, 56, 40},
              {texts::MP_STA_AP_Toggle_Button_STA, texts::MP_STA_AP_Toggle_Button_AP}),
      Control(id::ListTitle, K::Label, {6, 40, 99, 8},
              {texts::MP_STA_Available_Network, texts::MP_STA_Available_Network_AfterScan,
               texts::MP_STA_Available_Network_Scan, texts::MP_AP_Station_List}),
      Control(id::List, K::ListView, {6, 49, 99, 80}, {},
              style::SingleSelection | style::Disabled),
      Control(id::RefreshButton, K::Button, {6, 130, 99, 13},
              {texts::MP_STA_Net_List_Refresh, texts::MP_STA_Net_List_Refresh_Scan}),
      Control(id::PanelGroup, K::GroupBox, {113, 46, 146, 97},
              {texts::MP_STA_Curr_Net_Info_Title, texts::MP_STA_Select_Net_Info_Title,
               texts::MP_AP_Curr_Net_Setting_Title}),
  };

  // Panel rows: labels in one column, values beside them; the last row shares its line with
  // the panel button, so its value is short. Each row shows the texts of the three panels:
  // current network, selected network, access point setting.
  struct PanelRow {
    int label, value, y;
    std::vector<ShownText> labels, values;
  };
  const PanelRow rows[] = {
      {id::PanelLabel1, id::PanelValue1, 63,
       {texts::MP_STA_Curr_Net_Info_Channel, texts::MP_STA_Select_Net_Info_Channel,
        texts::MP_AP_Curr_Net_Setting_Channel},
       {}},
      {id::PanelLabel2, id::PanelValue2, 78,
       {texts::MP_STA_Curr_Net_Info_Type, texts::MP_AP_Curr_Net_Setting_SSID},
       {texts::MP_STA_Curr_Net_Type_Ad_Hoc, texts::MP_STA_Curr_Net_Type_Infra,
        texts::MP_STA_Curr_Net_Type_WDS, texts::MP_STA_Curr_Net_Type_PIBSS,
        texts::MP_STA_Curr_Net_Type_Unknown, texts::MP_STA_Select_NetType_Ad_Hoc,
        texts::MP_STA_Select_NetType_Infra, texts::MP_STA_Select_NetType_Unknown,
        texts::MP_AP_Curr_Net_Setting_SSID_Default}},
      {id::PanelLabel3, id::PanelValue3, 93,
       {texts::MP_STA_Curr_Net_Info_SSID, texts::MP_STA_Select_Net_Info_WEP,
        texts::MP_AP_Curr_Net_Setting_WEP},
       {texts::MP_STA_SSID_any, texts::MP_STA_WEP_Off, texts::MP_STA_WEP_On,
        texts::MP_AP_Curr_Net_Setting_WEP_64bit, texts::MP_AP_Curr_Net_Setting_WEP_128bit,
        texts::MP_AP_Curr_Net_Setting_WEP_256bit, texts::MP_AP_Curr_Net_Setting_WEP_Disable}},
      {id::PanelLabel4, id::PanelValue4, 108,
       {texts::MP_STA_Curr_Net_Info_TxRate, texts::MP_STA_Select_Net_Info_BSSID,
        texts::MP_AP_Curr_Net_Setting_Tx_Power},
       {texts::MP_AP_Curr_Net_Setting_Tx_Power_L0, texts::MP_AP_Curr_Net_Setting_Tx_Power_L1,
        texts::MP_AP_Curr_Net_Setting_Tx_Power_L2, texts::MP_AP_Curr_Net_Setting_Tx_Power_L3}},
      {id::PanelLabel5, id::PanelValue5, 123,
       {texts::MP_STA_Curr_Net_Info_WEP},
       {texts::MP_STA_ENCRYPT_WEP, texts::MP_STA_ENCRYPT_NONE, texts::MP_STA_ENCRYPT_TKIP,
        texts::MP_STA_ENCRYPT_AES, texts::MP_STA_WEP_Unknown}},
  };
  for (const PanelRow& row : rows) {
    t.controls.push_back(StatusText(row.label, {115, row.y, 40, 8}, row.labels));
    t.controls.push_back(
        StatusText(row.value, {157, row.y, row.value == id::PanelValue5 ? 31 : 98, 8},
                   row.values));
  }
  const std::vector<ControlTemplate> rest = {
      Control(id::PanelButton, K::Button, {190, 123, 64, 14},
              {texts::MP_STA_Curr_Net_Info_More_Set, texts::MP_STA_Select_Net_Info_Connect,
               texts::MP_AP_Curr_Net_Setting_More_Set},
              style::Hidden),
      Control(id::LinkStatusLabel, K::Label, {2, 155, 66, 8}, {texts::MP_STA_Link_Status}),
      StatusText(id::LinkStatusText, {71, 155, 190, 8},
                 {texts::MP_STA_Link_Status_Con_Ad_Hoc, texts::MP_STA_Link_Status_Con_AP,
                  texts::MP_STA_Link_Status_Con_PIBSS, texts::MP_STA_Link_Status_In_Ad_Hoc,
                  texts::MP_STA_Link_Status_Connecting,
                  texts::MP_STA_Link_Status_Disconnecting}),
      Control(id::SignalLabel, K::Label, {2, 168, 66, 8}, {texts::MP_STA_Signal_Strength}),
      Control(id::SignalBar, K::ProgressBar, {71, 167, 156, 10}),
      Control(id::SignalText, K::Label, {229, 168, 32, 8}),
      Control(id::QualityLabel, K::Label, {2, 181, 66, 8}, {texts::MP_STA_Link_Quality}),
      Control(id::QualityBar, K::ProgressBar, {71, 180, 156, 10}),
      Control(id::QualityText, K::Label, {229, 181, 32, 8}),
      Control(id::TxFrameLabel, K::Label, {2, 196, 40, 8}, {texts::MP_STA_Tx_Frame},
              style::Hidden),
      Control(id::TxFrameText, K::Label, {44, 196, 62, 8}, {}, style::Hidden),
      Control(id::RxFrameLabel, K::Label, {110, 196, 40, 8}, {texts::MP_STA_Rx_Frame},
              style::Hidden),
      Control(id::RxFrameText, K::Label, {152, 196, 62, 8}, {}, style::Hidden),
      Picture(id::ActivityIcon, {246, 193, 20, 20}, icon::ActivityFirst),
      Control(id::WzcBanner, K::Label, {6, 199, 230, 8}, {}, style::Hidden),
  };
  t.controls.insert(t.controls.end(), rest.begin(), rest.end());
  return t;
}

VZ_PROGRAM_TEMPLATE(MainPageTemplate);

void RegisterMainPageTemplate() { TemplateRegistry::Instance().Add(MainPageTemplate()); }

}  // namespace ui::main_page
