// The page's behaviour: the main window's handlers over the engine built to WebAssembly
// (qivara-engine.js). A job runs on the page's one thread, to completion; a stop pressed before it
// begins drops it. The engine's answer is the CLI's JSON line, shown as the window shows it.
'use strict';

(function () {
    const $ = (id) => document.getElementById(id);
    const equationBox = $('equation');
    const resultBox = $('result');
    const limitBox = $('limit');
    const resultsBox = $('results');
    const coefficientsOnly = $('coefficients-only');
    const extendedSyntax = $('extended-syntax');
    const startButton = $('start');
    const settingsButton = $('settings');
    const mainPage = $('main-page');
    const settingsPage = $('settings-page');

    const kStart = '开始';
    const kStop = '停止';
    const kEquationCharacters = /^[A-Za-z0-9()+=]*$/;  // what the equation box lets through when typed
    const kCoefficientsOnlyFlag = 1;
    const kExtendedSyntaxFlag = 2;
    const kIcons = { 16: 'error', 48: 'warning', 64: 'information' };

    let engine = null;
    let job = 0;  // the running job's number; a stop moves it on, so a pending job is dropped

    // Text arguments go through the engine's own heap: strings of any length, UTF-8.
    function withStrings(texts, call) {
        const pointers = texts.map((text) => {
            const size = engine.lengthBytesUTF8(text) + 1;
            const pointer = engine._malloc(size);
            engine.stringToUTF8(text, pointer, size);
            return pointer;
        });
        try {
            return engine.UTF8ToString(call(...pointers));
        } finally {
            pointers.forEach((pointer) => engine._free(pointer));
        }
    }

    function balance(equation, limitText, resultsText, flags) {
        return JSON.parse(withStrings([equation, limitText, resultsText],
            (e, l, r) => engine._qivara_balance(e, l, r, flags)));
    }

    function clampLimit(box, lowest, highest) {
        if (!engine) return;
        box.value = withStrings([box.value], (text) => engine._qivara_clamp_limit(text, lowest, highest));
    }

    function setIdle() {
        settingsButton.disabled = false;
        equationBox.readOnly = false;
        startButton.textContent = kStart;
    }

    function showMessage(title, icon, message, then) {
        $('message-title').textContent = title;
        $('message-icon').className = 'icon ' + (kIcons[icon] || 'information');
        $('message-text').textContent = message;
        $('message-overlay').hidden = false;
        const ok = $('message-ok');
        ok.focus();
        const close = () => {
            ok.removeEventListener('click', close);
            $('message-overlay').hidden = true;
            then();
        };
        ok.addEventListener('click', close);
    }

    function runJob(number) {
        if (number !== job) return;  // stopped before it began
        let flags = coefficientsOnly.checked ? kCoefficientsOnlyFlag : 0;
        if (extendedSyntax.checked) flags |= kExtendedSyntaxFlag;
        const answer = balance(equationBox.value, limitBox.value, resultsBox.value, flags);
        resultBox.value = answer.result;
        if (answer.title === '') {
            setIdle();
            return;
        }
        // The window shows the running state until the message is closed.
        showMessage(answer.title, answer.icon, answer.message, () => {
            setIdle();
            equationBox.focus();
        });
    }

    // The first click after loading only relabels "配平" to "开始", as the window's does.
    startButton.addEventListener('click', () => {
        if (startButton.textContent !== kStart) {
            ++job;
            setIdle();
            return;
        }
        settingsButton.disabled = true;
        equationBox.readOnly = true;
        resultBox.value = '';
        startButton.textContent = kStop;
        const number = ++job;
        setTimeout(() => runJob(number), 0);  // lets the page show "停止" first
    });

    settingsButton.addEventListener('click', () => {
        const toSettings = settingsPage.hidden;
        settingsPage.hidden = !toSettings;
        mainPage.hidden = toSettings;
        settingsButton.textContent = toSettings ? '返回' : '设置';
    });

    $('usage').addEventListener('click', () => { $('usage-overlay').hidden = false; });
    $('usage-close').addEventListener('click', () => { $('usage-overlay').hidden = true; });

    // Typed characters are filtered; text that arrives another way (pasted, dropped) is not.
    function filterTyped(box, allowed) {
        box.addEventListener('beforeinput', (event) => {
            if (box === equationBox && extendedSyntax.checked) return;  // every character, 256 at most
            if (event.inputType === 'insertText' && event.data !== null && !allowed.test(event.data)) {
                event.preventDefault();
            }
        });
    }
    filterTyped(equationBox, kEquationCharacters);
    filterTyped(limitBox, /^[0-9]*$/);
    filterTyped(resultsBox, /^[0-9]*$/);
    equationBox.addEventListener('input', () => {
        if (resultBox.value !== '') resultBox.value = '';
    });
    limitBox.addEventListener('blur', () => clampLimit(limitBox, 2, 64));
    resultsBox.addEventListener('blur', () => clampLimit(resultsBox, 1, 16));

    startButton.disabled = true;  // until the engine has loaded
    window.qivaraPage = {
        // Resolves with the milliseconds from the start of loading the page to a usable engine.
        ready: QivaraEngine().then((module) => {
            engine = module;
            startButton.disabled = false;
            equationBox.focus();
            return performance.now();
        }),
    };
})();
