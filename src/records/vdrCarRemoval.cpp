#include "vdrCarRemoval.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPicture.h"
#include "vdrTableTransaction.h"

void RemoveCarAndHistory(qint32 carNbr) {
    InOneTransaction({&CarsUDF(), &Maint(), &MaintRepairs(), &MaintNotes(), &Cars()}, [carNbr] {
        CarsUDF().RemoveCarValues(carNbr);
        CarsUDF().Save();
        Maint().RemoveCarEvents(carNbr);
        Maint().Save();
        MaintRepairs().RemoveCarLinks(carNbr);
        MaintRepairs().Save();
        MaintNotes().RemoveCarNotes(carNbr);
        MaintNotes().Save();
        Cars().RemoveCar(carNbr);
        Cars().Save();
        TvdrPicture picture(carNbr);
        picture.SetStreamFile(Cars().StreamFile());
        picture.Delete();
    });
}
