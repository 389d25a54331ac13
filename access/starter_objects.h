// The access objects a new installation starts with: every designation that the
// screens of the program and of the library ask the rights check about, so that
// a new data folder greets no list with " Доступ. Нет обьекта: ...". A
// designation that is still unregistered keeps that message: it tells the
// administrator that a program of the suite asks for an object nobody registered.
#pragma once

#include <string>
#include <vector>

namespace storage {
class DataFile;
}

namespace dostup {

struct StarterObject {
    const char* designation;  // "Price"
    const char* name;         // UTF-8, "Цены"
};

const std::vector<StarterObject>& starterObjects();

// Adds the starter objects (type "Справочник", codes from 1) to a new, open
// Object file; one that another station added first is skipped.
void registerStarterObjects(storage::DataFile& object);

// The library's administrative objects (employees, categories, departments,
// objects, rights, change log), which an operator who has not logged in
// (category 0) may not use at all in a new installation.
const std::vector<std::string>& anonymousBans();
// Writes those bans, every flag set, into a new, open Dostup file, for the ones
// the Object file registers; a row another station wrote first is skipped.
void registerAnonymousBans(storage::DataFile& rights, storage::DataFile& objects);

}  // namespace dostup
