#include "demo/GalleryDatabase.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <string>

#include "demo/Places.h"
#include "framework/rtl/CodePage.h"
#include "framework/rtl/Exceptions.h"

namespace {

constexpr int kSamplePlaces = 3000;

// Quotes a text for SQL.
AnsiString Text(const AnsiString& S) {
  AnsiString out = "'";
  for (char c : S) out += c == '\'' ? AnsiString("''") : AnsiString(1, c);
  return out + "'";
}

void CreateTables(TDatabase& Db) {
  AnsiString sql =
      "CREATE TABLE city (id INTEGER PRIMARY KEY, name VARCHAR(60) NOT NULL,"
      " province VARCHAR(2));"
      "CREATE TABLE customer (id INTEGER PRIMARY KEY,"
      " name VARCHAR(40) NOT NULL CHECK (name <> ''), address VARCHAR(60),"
      " tax_code VARCHAR(16), birth DATE, children INTEGER CHECK (children >= 0),"
      " income REAL, email VARCHAR(60), province VARCHAR(2),"
      " city_id INTEGER REFERENCES city (id), birth_city_id INTEGER REFERENCES city (id));";
  int id = 0;
  for (const TPlace& p : SamplePlaces(kSamplePlaces))
    sql += "INSERT INTO city VALUES (" + std::to_string(++id) + ", " + Text(p.Name) + ", " +
           Text(p.Province) + ");";
  sql +=
      "INSERT INTO customer VALUES"
      " (1, 'Mario Rossi', 'Via della Repubblica 12', 'RSSMRA70A01H501U', '1970-01-01', 2,"
      " 38500.5, 'mario.rossi@posta.it', 'RM', (SELECT id FROM city WHERE name = 'Roma'), (SELECT "
      "id FROM city WHERE name = 'Latina')),"
      " (2, 'Anna Bianchi', 'Piazza dei Mille 3', 'BNCNNA85M41F205X', '1985-08-01', 0,"
      " 42000, 'anna.bianchi@posta.it', 'MI', (SELECT id FROM city WHERE name = 'Milano'), (SELECT "
      "id FROM city WHERE name = 'Varese')),"
      " (3, 'Giuseppe Verdi', 'Corso Vittorio Emanuele 7', 'VRDGPP62C10L219K',"
      " '1962-03-10', 3, 29800, 'g.verdi@posta.it', 'TO', (SELECT id FROM city WHERE name = "
      "'Torino'), (SELECT id FROM city WHERE name = 'Parma')),"
      " (4, 'Lucia Esposito', 'Via Toledo 101', 'SPSLCU90D45F839T', '1990-04-05', 1, 31000,"
      " 'lucia@posta.it', 'NA', (SELECT id FROM city WHERE name = 'Napoli'), (SELECT id FROM city "
      "WHERE name = 'Napoli'));";
  Db.ExecSQL(sql);
}

}  // namespace

AnsiString GalleryDatabasePath() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  if (base.isEmpty()) base = QDir::homePath() + "/.local/share";
  return QStringToAnsi(base + "/astrevo/gallery.sqlite");
}

void OpenGalleryDatabase(TDatabase& Db, const AnsiString& Path) {
  const QFileInfo file(AnsiToQString(Path));
  const bool fresh = !file.exists();
  if (fresh && !QDir().mkpath(file.absolutePath()))
    throw EDatabaseError("Cannot create the folder " + QStringToAnsi(file.absolutePath()));
  Db.SetDatabaseName(Path);
  Db.CreateIfMissing = fresh;
  Db.Open();
  if (!fresh) return;
  try {
    CreateTables(Db);
  } catch (const Exception&) {
    // A half-made sample would be taken for a finished one next time.
    Db.Close();
    QFile::remove(file.absoluteFilePath());
    throw;
  }
}

bool AddManyPlaces(TDatabase& Db, int Count, const std::function<bool(int Done)>& Progress) {
  Db.Open();
  Db.ExecSQL("BEGIN IMMEDIATE");
  sqlite3_stmt* insert = nullptr;
  bool kept = false;
  try {
    if (sqlite3_prepare_v2(Db.Handle(), "INSERT INTO city (name, province) VALUES (?, ?)", -1,
                           &insert, nullptr) != SQLITE_OK)
      Db.RaiseError();
    const std::vector<TPlace> parts = SamplePlaces(kSamplePlaces);
    int done = 0;
    for (; done < Count; ++done) {
      if (done % 5000 == 0 && Progress && !Progress(done)) break;
      const TPlace& p = parts[static_cast<size_t>(done) % parts.size()];
      const std::string name =
          AnsiToUtf8(p.Name + " " + std::to_string(done / static_cast<int>(parts.size()) + 1));
      const std::string province = AnsiToUtf8(p.Province);
      sqlite3_bind_text(insert, 1, name.data(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 2, province.data(), static_cast<int>(province.size()),
                        SQLITE_TRANSIENT);
      if (sqlite3_step(insert) != SQLITE_DONE) Db.RaiseError();
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    insert = nullptr;
    kept = done == Count;
    Db.ExecSQL(kept ? "COMMIT" : "ROLLBACK");
    if (kept && Progress) Progress(Count);
  } catch (...) {
    if (insert) sqlite3_finalize(insert);
    if (!sqlite3_get_autocommit(Db.Handle()))
      sqlite3_exec(Db.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  return kept;
}
