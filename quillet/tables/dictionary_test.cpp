#include "quillet/tables/dictionary.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "framework/manager_test_support.h"
#include "quillet/app/messages.h"
#include "quillet/tables/articulo.h"
#include "quillet/tables/cabecera.h"
#include "quillet/tables/items.h"
#include "runtime/codepage.h"
#include "runtime/fixed_string.h"

namespace quillet {
namespace {

using fw_test::RecordingPresenter;
using fw_test::StationLock;
using fw_test::TempWorkDir;

// The table managers report to an error manager with Quillet's Spanish messages whose boxes
// are recorded.
struct RecordedErrors {
  std::shared_ptr<RecordingPresenter> presenter = std::make_shared<RecordingPresenter>();
  fw::ErrorClass errors{presenter};
  fw::ErrorStatusClass status;
  RecordedErrors() {
    errors.Init(status);
    EXPECT_TRUE(errors.AddErrors(DefaultErrors()));
    SetTableErrors(&errors);
  }
  ~RecordedErrors() {
    SetTableErrors(nullptr);
    errors.Kill();
  }
};

std::string cp1252(const char* utf8) { return rt::utf8ToCp1252(utf8); }

class DictionaryTest : public ::testing::Test {
 protected:
  RecordedErrors re;
  TempWorkDir dir;

  DictionaryTest() { DctInit(); }
  ~DictionaryTest() override { ReleaseThreadTables(); }

  RecordingPresenter& shown() { return *re.presenter; }

  int addArticle(const char* description) {
    EXPECT_EQ(Access_ARTICULO->PrimeRecord(), fw::Level_Benign);
    rt::setFixed(ART.DESCRIPCION, description);
    EXPECT_EQ(Access_ARTICULO->Insert(), fw::Level_Benign);
    return ART.IDARTICULO;
  }
  int addHeader() {
    EXPECT_EQ(Access_CABECERA->PrimeRecord(), fw::Level_Benign);
    CAB.FECHA = 80000;
    EXPECT_EQ(Access_CABECERA->Insert(), fw::Level_Benign);
    return CAB.IDCABECERA;
  }
  int addLine(int header) {
    Access_ITEMS->ClearBuffer();
    ITE.IDCABECERA = static_cast<std::uint16_t>(header);
    EXPECT_EQ(Access_ITEMS->PrimeRecord(true), fw::Level_Benign);
    EXPECT_EQ(Access_ITEMS->Insert(), fw::Level_Benign);
    return ITE.NORDEN;
  }
  bool fetchHeader(int id) {
    CAB.IDCABECERA = static_cast<std::uint16_t>(id);
    return Access_CABECERA->TryFetch(CAB_POR_IDCABECERA) == fw::Level_Benign;
  }
  // Header 1 with three lines, header 2 with two.
  void addInvoices() {
    ASSERT_EQ(addHeader(), 1);
    ASSERT_EQ(addHeader(), 2);
    for (int i = 0; i < 3; ++i) addLine(1);
    for (int i = 0; i < 2; ++i) addLine(2);
  }
};

TEST(QuilletTables, RecordLayoutsAreDeclaredAsStored) {
  struct Case {
    const store::TableDef& def;
    const char* file;
    int size;
    std::size_t fields, keys;
  };
  const Case cases[] = {{ARTICULO_Def(), "ARTICULO.TPS", 36, 3, 2},
                        {ITEMS_Def(), "ITEMS.TPS", 48, 7, 1},
                        {CABECERA_Def(), "CABECERA.TPS", 10, 3, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(c.def.validate(), "");
    EXPECT_EQ(c.def.fileName(), c.file);
    EXPECT_EQ(c.def.record_size, c.size);
    EXPECT_EQ(c.def.fields.size(), c.fields);
    EXPECT_EQ(c.def.keys.size(), c.keys);
    EXPECT_TRUE(c.def.create && c.def.threaded && !c.def.oem);
  }
}

TEST_F(DictionaryTest, DctInitSetsUpEveryManagerButOpensNothing) {
  ASSERT_NE(Access_ARTICULO, nullptr);
  ASSERT_NE(Access_ITEMS, nullptr);
  ASSERT_NE(Access_CABECERA, nullptr);
  ASSERT_NE(Relate_ARTICULO, nullptr);
  ASSERT_NE(Relate_ITEMS, nullptr);
  ASSERT_NE(Relate_CABECERA, nullptr);
  EXPECT_EQ(Relate_CABECERA->Me(), Access_CABECERA);
  EXPECT_EQ(Relate_ITEMS->Me(), Access_ITEMS);
  EXPECT_EQ(Relate_ARTICULO->Me(), Access_ARTICULO);
  struct Case {
    fw::FileManager* fm;
    const char* display;
    const void* buffer;
    int size;
  };
  for (const Case& c : {Case{Access_ARTICULO, "Articulos", &ART, 36}, Case{Access_ITEMS, "Items", &ITE, 48},
                        Case{Access_CABECERA, "Cabecera", &CAB, 10}}) {
    SCOPED_TRACE(c.display);
    EXPECT_EQ(c.fm->FileNameValue, c.display);
    EXPECT_FALSE(c.fm->Initialized);
    EXPECT_TRUE(c.fm->Keys().empty());
    EXPECT_EQ(c.fm->Buffer, c.buffer);
    EXPECT_EQ(c.fm->RecordSize, c.size);
  }
  EXPECT_EQ(Relate_CABECERA->LogoutTimeout, std::chrono::milliseconds(2000));
  EXPECT_TRUE(Relate_CABECERA->UseLogout);
  for (const char* f : {"ARTICULO.TPS", "ITEMS.TPS", "CABECERA.TPS"}) EXPECT_FALSE(dir.exists(f)) << f;
}

TEST_F(DictionaryTest, FirstUseRegistersKeysAndSettings) {
  ASSERT_EQ(Access_ARTICULO->UseFile(fw::UseType_Initialize), fw::Level_Benign);
  EXPECT_FALSE(dir.exists("ARTICULO.TPS"));
  ASSERT_EQ(Access_ITEMS->UseFile(fw::UseType_Initialize), fw::Level_Benign);
  ASSERT_EQ(Access_CABECERA->UseFile(fw::UseType_Initialize), fw::Level_Benign);
  struct Key {
    int key;
    std::string description;
    int auto_number;
  };
  struct Case {
    fw::FileManager* fm;
    const char* file;
    std::vector<Key> keys;
    int primary;
  };
  const Case cases[] = {
      {Access_ARTICULO, "ARTICULO.TPS",
       {{ART_POR_IDARTICULO, "Por IDArticulo", 1}, {ART_POR_DESCRIPCION, cp1252("Por Descripción"), 0}},
       ART_POR_IDARTICULO},
      {Access_ITEMS, "ITEMS.TPS", {{ITE_POR_IDCABECERAYNORDEN, "Por IDCabecera y NOrden", 2}}, ITE_POR_IDCABECERAYNORDEN},
      {Access_CABECERA, "CABECERA.TPS", {{CAB_POR_IDCABECERA, "Por IDCabecera", 1}, {CAB_POR_FECHA, "Por Fecha", 0}},
       CAB_POR_IDCABECERA},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_TRUE(c.fm->Initialized);
    EXPECT_TRUE(c.fm->InUseFile);
    EXPECT_TRUE(c.fm->Create);
    EXPECT_EQ(c.fm->LockRecover, 10);
    EXPECT_EQ(c.fm->OpenMode, 0x42);
    EXPECT_TRUE(c.fm->HasAutoInc);
    EXPECT_EQ(c.fm->PrimaryKey, c.primary);
    EXPECT_EQ(c.fm->FileNameValue, c.file);
    ASSERT_EQ(c.fm->Keys().size(), c.keys.size());
    for (std::size_t i = 0; i < c.keys.size(); ++i) {
      EXPECT_EQ(c.fm->Keys()[i].key, c.keys[i].key);
      EXPECT_EQ(c.fm->Keys()[i].description, c.keys[i].description);
      EXPECT_EQ(c.fm->Keys()[i].auto_number, c.keys[i].auto_number);
    }
  }
}

TEST_F(DictionaryTest, RelationsAreThoseOfTheTables) {
  const auto& cab = Relate_CABECERA->Relations();
  ASSERT_EQ(cab.size(), 1u);
  EXPECT_EQ(cab[0].related, Relate_ITEMS);
  EXPECT_FALSE(cab[0].lookup);
  EXPECT_EQ(cab[0].UpdateMode, fw::RI_None);
  EXPECT_EQ(cab[0].DeleteMode, fw::RI_Cascade);
  EXPECT_EQ(cab[0].HisKey, ITE_POR_IDCABECERAYNORDEN);
  ASSERT_EQ(cab[0].links.size(), 1u);
  EXPECT_EQ(cab[0].links[0].my_offset, 0);
  EXPECT_EQ(cab[0].links[0].his_offset, 0);

  const auto& ite = Relate_ITEMS->Relations();
  ASSERT_EQ(ite.size(), 2u);
  EXPECT_EQ(ite[0].related, Relate_CABECERA);
  EXPECT_TRUE(ite[0].lookup);
  EXPECT_EQ(ite[1].related, Relate_ARTICULO);
  EXPECT_FALSE(ite[1].lookup);
  EXPECT_EQ(ite[1].DeleteMode, fw::RI_None);
  EXPECT_EQ(ite[1].HisKey, ART_POR_IDARTICULO);
  ASSERT_EQ(ite[1].links.size(), 1u);
  EXPECT_EQ(ite[1].links[0].my_offset, 8);  // ITE:IDARTICULO
  EXPECT_EQ(ite[1].links[0].his_offset, 0);

  const auto& art = Relate_ARTICULO->Relations();
  ASSERT_EQ(art.size(), 1u);
  EXPECT_EQ(art[0].related, Relate_ITEMS);
  EXPECT_TRUE(art[0].lookup);
}

TEST_F(DictionaryTest, OpeningAHeaderCreatesTheFilesOfItsTables) {
  ASSERT_EQ(Relate_CABECERA->Open(), fw::Level_Benign);
  for (const char* f : {"ARTICULO.TPS", "ITEMS.TPS", "CABECERA.TPS"}) EXPECT_TRUE(dir.exists(f)) << f;
  EXPECT_EQ(Access_CABECERA->FileNameValue, "CABECERA.TPS");
  Relate_CABECERA->Close();
  EXPECT_FALSE(Access_CABECERA->Opened());
  EXPECT_FALSE(Access_ITEMS->Opened());
  EXPECT_TRUE(shown().shown().empty());
}

TEST_F(DictionaryTest, DctKillLeavesEveryReferenceNull) {
  ASSERT_EQ(Relate_CABECERA->Open(), fw::Level_Benign);
  DctKill();
  EXPECT_EQ(Access_ARTICULO, nullptr);
  EXPECT_EQ(Access_ITEMS, nullptr);
  EXPECT_EQ(Access_CABECERA, nullptr);
  EXPECT_EQ(Relate_ARTICULO, nullptr);
  EXPECT_EQ(Relate_ITEMS, nullptr);
  EXPECT_EQ(Relate_CABECERA, nullptr);
  EXPECT_FALSE(_Hide_Access_ARTICULO || _Hide_Relate_ARTICULO || _Hide_Access_ITEMS || _Hide_Relate_ITEMS ||
               _Hide_Access_CABECERA || _Hide_Relate_CABECERA);
  EXPECT_FALSE(CABECERA_File().isOpen());
  EXPECT_FALSE(ITEMS_File().isOpen());
  EXPECT_FALSE(ARTICULO_File().isOpen());
}

TEST_F(DictionaryTest, ThreadEndReleaseRemovesManagersAndTableInstances) {
  ASSERT_EQ(Relate_CABECERA->Open(), fw::Level_Benign);
  store::File* before = &CABECERA_File();
  ASSERT_TRUE(before->isOpen());
  ReleaseThreadTables();  // managers still there: they go first
  EXPECT_EQ(Relate_CABECERA, nullptr);
  EXPECT_EQ(Access_CABECERA, nullptr);
  EXPECT_FALSE(_Hide_Access_CABECERA || _Hide_Relate_CABECERA);
  EXPECT_FALSE(CABECERA_File().isOpen());  // a new, unopened instance
  EXPECT_FALSE(ITEMS_File().isOpen());
  DctInit();  // the thread may build its managers again
  ASSERT_NE(Access_CABECERA, nullptr);
  EXPECT_EQ(Access_CABECERA->File, &CABECERA_File());
  EXPECT_EQ(Relate_CABECERA->Open(), fw::Level_Benign);
  Relate_CABECERA->Close();
}

TEST_F(DictionaryTest, EachThreadHasItsOwnBuffersAndManagers) {
  struct Seen {
    const void* access = nullptr;
    const void* relate = nullptr;
    const void* buffer = nullptr;
    const void* file = nullptr;
    int id_before_write = -1;
  };
  ART.IDARTICULO = 77;
  auto run = [](Seen& s) {
    DctInit();
    s.access = Access_ARTICULO;
    s.relate = Relate_ARTICULO;
    s.buffer = &ART;
    s.file = &ARTICULO_File();
    s.id_before_write = ART.IDARTICULO;
    ART.IDARTICULO = 5;
    DctKill();
    ReleaseThreadTables();
  };
  Seen a, b;
  std::thread ta(run, std::ref(a));
  std::thread tb(run, std::ref(b));
  ta.join();
  tb.join();
  for (const Seen* s : {&a, &b}) {
    EXPECT_NE(s->access, nullptr);
    EXPECT_NE(s->access, Access_ARTICULO);
    EXPECT_NE(s->relate, Relate_ARTICULO);
    EXPECT_NE(s->buffer, &ART);
    EXPECT_NE(s->file, &ARTICULO_File());
    EXPECT_EQ(s->id_before_write, 0);
  }
  EXPECT_NE(a.buffer, b.buffer);
  EXPECT_NE(a.file, b.file);
  EXPECT_EQ(ART.IDARTICULO, 77);
}

TEST_F(DictionaryTest, ArticlesAreNumberedFromOne) {
  EXPECT_EQ(addArticle("Tornillo"), 1);
  EXPECT_EQ(addArticle("Tuerca"), 2);
  EXPECT_EQ(addArticle("Arandela"), 3);
  ART.IDARTICULO = 3;
  ASSERT_EQ(Access_ARTICULO->Fetch(ART_POR_IDARTICULO), fw::Level_Benign);
  ASSERT_EQ(Relate_ARTICULO->Delete(false), fw::Level_Benign);
  EXPECT_EQ(addArticle("Clavo"), 3);
  EXPECT_TRUE(shown().shown().empty());
}

TEST_F(DictionaryTest, LinesAreNumberedPerHeader) {
  const int h1 = addHeader(), h2 = addHeader();
  EXPECT_EQ(addLine(h1), 1);
  EXPECT_EQ(addLine(h1), 2);
  EXPECT_EQ(addLine(h2), 1);
  EXPECT_EQ(addLine(h1), 3);
  EXPECT_EQ(addLine(h2), 2);
}

TEST_F(DictionaryTest, ThreadsAddingLinesToOneHeaderNeverShareANumber) {
  const int header = addHeader();
  constexpr int kEach = 25;
  auto run = [header](std::vector<int>& got) {
    DctInit();
    for (int i = 0; i < kEach; ++i) {
      Access_ITEMS->ClearBuffer();
      ITE.IDCABECERA = static_cast<std::uint16_t>(header);
      if (Access_ITEMS->PrimeRecord(true) != fw::Level_Benign) break;
      got.push_back(ITE.NORDEN);
    }
    ReleaseThreadTables();
  };
  std::vector<int> a, b;
  std::thread ta(run, std::ref(a));
  std::thread tb(run, std::ref(b));
  ta.join();
  tb.join();
  ASSERT_EQ(a.size(), static_cast<std::size_t>(kEach));
  ASSERT_EQ(b.size(), static_cast<std::size_t>(kEach));
  std::set<int> all(a.begin(), a.end());
  all.insert(b.begin(), b.end());
  EXPECT_EQ(all.size(), 2u * kEach);
  EXPECT_EQ(*all.begin(), 1);
  EXPECT_EQ(*all.rbegin(), 2 * kEach);
  EXPECT_EQ(Access_ITEMS->Records(), 2 * kEach);
}

TEST_F(DictionaryTest, DeletingAHeaderDeletesItsLines) {
  addInvoices();
  ASSERT_EQ(Access_ITEMS->Records() + Access_CABECERA->Records(), 7);
  ASSERT_TRUE(fetchHeader(1));
  shown().answer(fw::Button_Yes);
  ASSERT_EQ(Relate_CABECERA->Delete(true), fw::Level_Benign);
  EXPECT_EQ(shown().captions(), std::vector<std::string>{"Confirmar Borrado"});
  EXPECT_EQ(Access_ITEMS->Records() + Access_CABECERA->Records(), 3);
  EXPECT_FALSE(fetchHeader(1));
  EXPECT_TRUE(fetchHeader(2));
  ITE.IDCABECERA = 2;
  ITE.NORDEN = 1;
  EXPECT_EQ(Access_ITEMS->TryFetch(ITE_POR_IDCABECERAYNORDEN), fw::Level_Benign);
}

TEST_F(DictionaryTest, AnsweringNoToTheDeleteQuestionChangesNothing) {
  addInvoices();
  ASSERT_TRUE(fetchHeader(1));
  shown().answer(fw::Button_No);
  EXPECT_EQ(Relate_CABECERA->Delete(true), fw::Level_User);
  EXPECT_EQ(Access_ITEMS->Records() + Access_CABECERA->Records(), 7);
}

TEST_F(DictionaryTest, HeaderDeleteThatCannotCompleteRemovesNothing) {
  addInvoices();
  ITEMS_File().setBusyTimeout(std::chrono::milliseconds(200));
  CABECERA_File().setBusyTimeout(std::chrono::milliseconds(200));
  ASSERT_TRUE(fetchHeader(1));
  {
    // Another station is reading the lines and keeps the file until the delete gives up.
    StationLock reader("ITEMS.TPS", "BEGIN");
    ASSERT_TRUE(reader.ok());
    EXPECT_EQ(Relate_CABECERA->Delete(false), fw::Level_Notify);
  }
  EXPECT_EQ(shown().captions(), std::vector<std::string>{"Registro no fue Borrado"});
  EXPECT_EQ(Access_ITEMS->Records(), 5);
  EXPECT_EQ(Access_CABECERA->Records(), 2);
  EXPECT_TRUE(fetchHeader(1));
}

TEST_F(DictionaryTest, HeaderDeleteWhoseTransactionCannotBeginRaises24) {
  addInvoices();
  Relate_CABECERA->LogoutTimeout = std::chrono::milliseconds(200);
  ASSERT_TRUE(fetchHeader(1));
  {
    StationLock writer("ITEMS.TPS", "BEGIN IMMEDIATE");
    ASSERT_TRUE(writer.ok());
    EXPECT_EQ(Relate_CABECERA->Delete(false), fw::Level_Notify);
  }
  auto boxes = shown().shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, cp1252("Transacción Cancelada"));
  EXPECT_NE(boxes[0].text.find("CABECERA.TPS"), std::string::npos) << boxes[0].text;
  EXPECT_EQ(Access_ITEMS->Records() + Access_CABECERA->Records(), 7);
}

TEST_F(DictionaryTest, DuplicateArticleNumberNamesTheKey) {
  addArticle("Tornillo");
  ART.IDARTICULO = 1;
  rt::setFixed(ART.DESCRIPCION, "Otro");
  EXPECT_EQ(Access_ARTICULO->Insert(), fw::Level_Notify);
  auto boxes = shown().shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Error Clave Duplicada");
  EXPECT_EQ(boxes[0].text, "Agregar este registro crea una clave duplicada para la clave: Por IDArticulo");
}

TEST_F(DictionaryTest, NumberingThatKeepsFailingAsksToGoOn) {
  addArticle("Tornillo");
  ARTICULO_File().setBusyTimeout(std::chrono::milliseconds(50));
  {
    // A reader elsewhere keeps every add from being written.
    StationLock reader("ARTICULO.TPS", "BEGIN");
    ASSERT_TRUE(reader.ok());
    shown().answer(fw::Button_Yes);
    shown().answer(fw::Button_No);
    EXPECT_EQ(Access_ARTICULO->PrimeRecord(), fw::Level_User);
  }
  EXPECT_EQ(shown().captions(), (std::vector<std::string>{cp1252("Error AutoNumeración"), cp1252("Error AutoNumeración")}));
  EXPECT_EQ(Access_ARTICULO->Records(), 1);
  EXPECT_FALSE(Access_ARTICULO->HasReservation());
}

TEST_F(DictionaryTest, UnreadableTableAbandonsTheNewRecord) {
  addArticle("Tornillo");
  ARTICULO_File().setBusyTimeout(std::chrono::milliseconds(50));
  {
    StationLock holder("ARTICULO.TPS", "BEGIN EXCLUSIVE");
    ASSERT_TRUE(holder.ok());
    EXPECT_EQ(Access_ARTICULO->PrimeRecord(), fw::Level_Notify);
  }
  auto boxes = shown().shown();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, cp1252("Error de Retribución"));
  EXPECT_NE(boxes[0].text.find("ARTICULO.TPS"), std::string::npos) << boxes[0].text;
  EXPECT_EQ(Access_ARTICULO->Records(), 1);
}

TEST_F(DictionaryTest, CancelledNewHeaderTakesItsLinesAlong) {
  addInvoices();
  ASSERT_EQ(Access_CABECERA->PrimeRecord(), fw::Level_Benign);
  const int id = CAB.IDCABECERA;
  ASSERT_EQ(id, 3);
  addLine(id);
  EXPECT_EQ(Relate_CABECERA->CancelAutoInc(), fw::Level_Benign);
  EXPECT_TRUE(shown().shown().empty());
  EXPECT_FALSE(fetchHeader(id));
  EXPECT_EQ(Access_ITEMS->Records() + Access_CABECERA->Records(), 7);
}

TEST_F(DictionaryTest, DeletingAnArticleLeavesItsLines) {
  const int art = addArticle("Tornillo");
  const int header = addHeader();
  addLine(header);
  ITE.IDARTICULO = static_cast<std::uint16_t>(art);
  rt::setFixed(ITE.DESCRIPCION, "Tornillo");
  ASSERT_EQ(Relate_ITEMS->Update(), fw::Level_Benign);
  ART.IDARTICULO = static_cast<std::uint16_t>(art);
  ASSERT_EQ(Access_ARTICULO->Fetch(ART_POR_IDARTICULO), fw::Level_Benign);
  ASSERT_EQ(Relate_ARTICULO->Delete(false), fw::Level_Benign);
  EXPECT_EQ(Access_ARTICULO->Records(), 0);
  ITE = {};
  ITE.IDCABECERA = static_cast<std::uint16_t>(header);
  ITE.NORDEN = 1;
  ASSERT_EQ(Access_ITEMS->TryFetch(ITE_POR_IDCABECERAYNORDEN), fw::Level_Benign);
  EXPECT_EQ(ITE.IDARTICULO, art);
  EXPECT_EQ(std::string(rt::clipped(ITE.DESCRIPCION)), "Tornillo");
}

}  // namespace
}  // namespace quillet
